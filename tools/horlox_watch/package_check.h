#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "horlox_watch/finding.h"
#include "watch/watch.h"

struct PackageCheck {
    std::string packagePath;
    std::string watchName;          // as the program's catalogue would list it
    std::size_t nameLine = 0;       // where the config sets it
    std::vector<Finding> findings;  // in line order
};

// Loads the package with the program's own loader into the watch (empty,
// with its font library set), which the caller may go on to draw, and
// reports everything the program would ignore, read otherwise than written,
// or leave out. Needs the GL context current.
PackageCheck checkPackage(const std::string& packagePath, Watch& watch);

// The catalogue keeps one watch per name: every package whose watch has the
// name of an earlier package's gets an error.
void reportDuplicateNames(std::vector<PackageCheck>& checks);
