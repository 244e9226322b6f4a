#include "support/temporary_directory.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

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

std::string readWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}
