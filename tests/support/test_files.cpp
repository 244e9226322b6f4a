#include "support/test_files.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>

#include <gtest/gtest.h>
#include <stb_image.h>
#include <stb_image_write.h>

namespace {

// A death test's child process ends at once, fixtures and all, and would
// leave its scratch folders behind. So every scratch folder of a run lies in
// one folder of the run, removed when the run ends; a child's lie in its
// parent's, as it inherits the parent's temporary folder.
class ScratchRoot : public ::testing::Environment {
public:
    void SetUp() override {
        root = std::make_unique<TemporaryDirectory>();
#ifdef _WIN32
        _putenv_s("TMP", root->path().c_str());
#else
        setenv("TMPDIR", root->path().c_str(), 1);
#endif
    }
    void TearDown() override { root.reset(); }

private:
    std::unique_ptr<TemporaryDirectory> root;
};
::testing::Environment* const scratchRoot = ::testing::AddGlobalTestEnvironment(new ScratchRoot);

std::string encodePng(int width, int height, int channels, const std::vector<std::uint8_t>& pixels) {
    std::string png;
    auto append = [](void* context, void* data, int size) {
        static_cast<std::string*>(context)->append(static_cast<const char*>(data), size);
    };
    stbi_write_png_to_func(append, &png, width, height, channels, pixels.data(), width * channels);
    return png;
}

}  // namespace

TemporaryDirectory::TemporaryDirectory() {
    // create_directory refuses a name that exists, so each directory is ours alone.
    std::random_device random;
    const std::filesystem::path parent = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
        const std::filesystem::path candidate = parent / ("horlox-test-" + std::to_string(random()));
        std::error_code error;
        if (std::filesystem::create_directory(candidate, error)) path_ = candidate.generic_string();
    }
}

TemporaryDirectory::~TemporaryDirectory() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

std::string base64Of(const std::string& bytes) {
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        unsigned group = static_cast<unsigned char>(bytes[i]) << 16;
        if (i + 1 < bytes.size()) group |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        if (i + 2 < bytes.size()) group |= static_cast<unsigned char>(bytes[i + 2]);
        text += alphabet[group >> 18 & 63];
        text += alphabet[group >> 12 & 63];
        text += i + 1 < bytes.size() ? alphabet[group >> 6 & 63] : '=';
        text += i + 2 < bytes.size() ? alphabet[group & 63] : '=';
    }
    return text;
}

std::string readWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

void writeFile(const std::string& path, const std::string& bytes) {
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (!folder.empty()) std::filesystem::create_directories(folder);
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string pngOfColour(int width, int height, int channels, const std::uint8_t* colour) {
    std::vector<std::uint8_t> pixels;
    for (int i = 0; i < width * height; ++i) pixels.insert(pixels.end(), colour, colour + channels);
    return encodePng(width, height, channels, pixels);
}

std::string pngOfPixels(int width, int height, const std::vector<std::uint8_t>& rgba) {
    return encodePng(width, height, 4, rgba);
}

Image readPng(const std::string& path) {
    const std::string png = readWholeFile(path);
    Image image;
    int channels = 0;
    stbi_uc* pixels = stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(png.data()), int(png.size()),
                                            &image.width, &image.height, &channels, 4);
    if (!pixels) return {};
    image.rgba.assign(pixels, pixels + std::size_t(image.width) * std::size_t(image.height) * 4);
    stbi_image_free(pixels);
    return image;
}

bool nearlyEqual(const Rgba& one, const Rgba& other, int tolerance) {
    for (std::size_t c = 0; c < one.size(); ++c)
        if (std::abs(int(one[c]) - int(other[c])) > tolerance) return false;
    return true;
}

std::string dejaVuSansBytes() { return readWholeFile("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"); }
