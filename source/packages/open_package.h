#pragma once

#include <filesystem>
#include <memory>

#include "packages/file_provider.h"

// A folder package is read from the disk, anything else as a 7z archive.
std::unique_ptr<FileProvider> openPackage(const std::filesystem::path& packagePath);
