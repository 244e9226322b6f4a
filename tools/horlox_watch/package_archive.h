#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Turning a folder package into a 7z package with the same files.

// Every regular file below the folder, by its path relative to the folder
// with '/' between folder names (as a config names it), sorted; `excluded`
// is left out, so that an archive written into the folder does not pack
// itself.
std::vector<std::string> packageFileNames(const std::filesystem::path& folder,
                                          const std::filesystem::path& excluded);

struct PackedArchive {
    std::string bytes;
    std::string error;  // what went wrong; empty on success
};

// A 7z archive holding the named files of the folder under those names.
// Entries carry no time stamps, so the same files always give the same bytes.
PackedArchive packSevenZip(const std::filesystem::path& folder,
                           const std::vector<std::string>& names);
