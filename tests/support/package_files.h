#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Builds watch packages for tests: files, images and fonts on the disk.

void writeFile(const std::string& path, const std::string& bytes);

// A PNG of the given size and channel count (1 grey, 2 grey+alpha, 3 RGB,
// 4 RGBA), every pixel holding the same channel values.
std::string pngOfColour(int width, int height, int channels, const std::uint8_t* colour);

// A PNG of RGBA pixels, rows from the top.
std::string pngOfPixels(int width, int height, const std::vector<std::uint8_t>& rgba);

// A font from Debian's fonts-dejavu-core.
std::string dejaVuSansBytes();

// Packs a folder's content into a 7z archive with the real 7-Zip; true on success.
bool packWith7Zip(const std::string& folder, const std::string& archivePath);
