#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// Files on the disk for tests: scratch folders, watch packages, images, fonts.

// A fresh directory under the system's temporary folder, removed with its
// content when the object dies.
class TemporaryDirectory {
public:
    TemporaryDirectory();
    ~TemporaryDirectory();
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

std::string readWholeFile(const std::string& path);
// Makes the folders the path needs.
void writeFile(const std::string& path, const std::string& bytes);

// A PNG of the given size and channel count (1 grey, 2 grey+alpha, 3 RGB,
// 4 RGBA), every pixel holding the same channel values.
std::string pngOfColour(int width, int height, int channels, const std::uint8_t* colour);
// The bytes in base64, padded, as senders put images into JSON.
std::string base64Of(const std::string& bytes);
// A PNG of RGBA pixels, rows from the top.
std::string pngOfPixels(int width, int height, const std::vector<std::uint8_t>& rgba);

using Rgba = std::array<std::uint8_t, 4>;

// An image read back for a test, rows from the top.
struct Image {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgba;

    Rgba at(int x, int row) const {
        const std::size_t i = (std::size_t(row) * std::size_t(width) + std::size_t(x)) * 4;
        return {rgba[i], rgba[i + 1], rgba[i + 2], rgba[i + 3]};
    }
};

// The PNG file's pixels; an empty image when there is none to read.
Image readPng(const std::string& path);

// Whether no channel of the two colours differs by more than the tolerance:
// GL drivers may round a blend or a filtered texel either way.
bool nearlyEqual(const Rgba& one, const Rgba& other, int tolerance);

// A font from Debian's fonts-dejavu-core.
std::string dejaVuSansBytes();

// Packs files of a folder into a 7z archive with the real 7-Zip; true on
// success. The arguments are 7-Zip's switches and the files, by default all
// the folder holds; non-ASCII names are stored as the characters they are.
// On Windows, where the suites run under Wine without 7-Zip, horlox-watch's
// own packer packs all the folder holds, and other arguments fail.
bool packWith7Zip(const std::string& folder, const std::string& archivePath, const std::string& arguments = ".");
