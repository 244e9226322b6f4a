#pragma once

#include <string>

// Watch packages made to hurt: damaged, forged, huge, or reaching outside
// their folder. Each names its watch "Hostile ..." where it can name one.

// Puts every hostile package into the watches folder: the small ones kept
// under tests/hostile_packages/, the large and place-dependent ones made
// here. A valid image lies beside the folder (outsideImagePath), where the
// names that climb out of a package lead.
void installHostilePackages(const std::string& watchesFolder);

std::string outsideImagePath(const std::string& watchesFolder);
