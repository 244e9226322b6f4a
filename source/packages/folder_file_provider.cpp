#include "packages/folder_file_provider.h"

#include <optional>
#include <utility>

#include "config/file_io.h"

FolderFileProvider::FolderFileProvider(std::filesystem::path root) : root(std::move(root)) {}

const FileBytes* FolderFileProvider::getFile(std::string name) {
    auto cached = fileCache.find(name);
    if (cached != fileCache.end()) return &cached->second;

    std::optional<FileBytes> bytes = readFileBytes((root / name).string());
    // Misses are not remembered: the file may be there on the next request.
    if (!bytes) return nullptr;
    return &fileCache.emplace(std::move(name), std::move(*bytes)).first->second;
}
