#pragma once

#include <memory>
#include <string>

#include "packages/file_provider.h"

// A folder package is read from the disk, anything else as a 7z archive.
// The path is UTF-8.
std::unique_ptr<FileProvider> openPackage(const std::string& packagePath);
