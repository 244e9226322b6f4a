#include "packages/folder_file_provider.h"

#include <optional>
#include <utility>

#include "platform/file_io.h"

namespace {

// A package reads only its own files: absolute names and names that climb out
// of the folder find nothing, so a hostile config cannot show other files.
bool staysInsidePackage(const std::string& name) {
    const std::filesystem::path relative = std::filesystem::path(name).lexically_normal();
    return !relative.is_absolute() && (relative.empty() || *relative.begin() != "..");
}

}  // namespace

FolderFileProvider::FolderFileProvider(std::filesystem::path root) : root(std::move(root)) {}

const FileBytes* FolderFileProvider::getFile(std::string name) {
    auto cached = fileCache.find(name);
    if (cached != fileCache.end()) return &cached->second;

    if (!staysInsidePackage(name)) return nullptr;
    std::optional<FileBytes> bytes = platform::readFileBytes((root / name).string());
    // Misses are not remembered: the file may be there on the next request.
    if (!bytes) return nullptr;
    return &fileCache.emplace(std::move(name), std::move(*bytes)).first->second;
}
