#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "watch/watch.h"

// Fills an empty watch (with `fontLibrary` set) from the package at the path:
// its name and description, its GL program and vertex array, and one element
// per usable "face", "hand" and "text" section. A layer whose image or font is
// missing or unreadable is left out with a log line (the first eight of a
// package each, then one for the rest); a package without "config" gives a watch
// with no name and no layers. Layers past the 200 that can be seen, and those
// whose images and font copies would take the watch past 256 MiB, are left
// out too, each with a diagnostic line. Needs the GL context current.
// When asked, `layerSections` receives for each element the index of the
// config section it came from, so that a tool can tell which sections the
// load left out.
void loadWatch(Watch& watch, const std::string& packagePath,
               std::vector<std::size_t>* layerSections = nullptr);
