#pragma once

#include <string>
#include <vector>

// The commands of horlox-watch, each given the arguments after its name;
// each returns the process's exit status.

// Reports what the program would ignore or leave out in the packages.
int runCheck(const std::vector<std::string>& arguments);

// Draws a package's watch at a given moment into a PNG file.
int runRender(const std::vector<std::string>& arguments);

// Makes a 7z package of a folder package.
int runPack(const std::vector<std::string>& arguments);
