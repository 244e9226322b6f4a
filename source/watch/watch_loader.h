#pragma once

#include <string>

#include "watch/watch.h"

// Fills an empty watch (with `fontLibrary` set) from the package at the path:
// its name and description, its GL program and vertex array, and one element
// per usable "face", "hand" and "text" section. A layer whose image or font is
// missing or unreadable is left out; a package without "config" gives a watch
// with no name and no layers. Needs the GL context current.
void loadWatch(Watch& watch, const std::string& packagePath);
