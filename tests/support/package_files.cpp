#include "support/package_files.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <stb_image_write.h>

#include "support/temporary_directory.h"

void writeFile(const std::string& path, const std::string& bytes) {
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (!folder.empty()) std::filesystem::create_directories(folder);
    std::ofstream(path, std::ios::binary) << bytes;
}

namespace {

std::string encodePng(int width, int height, int channels, const std::vector<std::uint8_t>& pixels) {
    std::string png;
    auto append = [](void* context, void* data, int size) {
        static_cast<std::string*>(context)->append(static_cast<const char*>(data), size);
    };
    stbi_write_png_to_func(append, &png, width, height, channels, pixels.data(), width * channels);
    return png;
}

}  // namespace

std::string pngOfColour(int width, int height, int channels, const std::uint8_t* colour) {
    std::vector<std::uint8_t> pixels;
    for (int i = 0; i < width * height; ++i) pixels.insert(pixels.end(), colour, colour + channels);
    return encodePng(width, height, channels, pixels);
}

std::string pngOfPixels(int width, int height, const std::vector<std::uint8_t>& rgba) {
    return encodePng(width, height, 4, rgba);
}

std::string dejaVuSansBytes() { return readWholeFile("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"); }

bool packWith7Zip(const std::string& folder, const std::string& archivePath) {
    const std::string command = "cd '" + folder + "' && 7zz a -bso0 -bsp0 '" + archivePath + "' . >/dev/null";
    return std::system(command.c_str()) == 0;
}
