#include "packages/folder_file_provider.h"

#include <optional>
#include <utility>

#include "platform/file_io.h"
#include "platform/text_encoding.h"

namespace {

// A package reads only its own files: names with a root (on Windows also
// "\\name" and "C:name"), names that climb out of the folder and names the
// system cannot take find nothing, so a hostile config cannot show other files.
bool staysInsidePackage(const std::string& name) {
    const std::optional<std::filesystem::path> path = platform::pathFromUtf8(name);
    if (!path) return false;
    const std::filesystem::path relative = path->lexically_normal();
    return !relative.has_root_path() && (relative.empty() || *relative.begin() != "..");
}

}  // namespace

FolderFileProvider::FolderFileProvider(std::string root) : root(std::move(root)) {}

const FileBytes* FolderFileProvider::getFile(std::string name) {
    auto cached = fileCache.find(name);
    if (cached != fileCache.end()) return &cached->second;

    if (!staysInsidePackage(name)) return nullptr;
    std::optional<FileBytes> bytes = platform::readFileBytes(root + "/" + name);
    // Misses are not remembered: the file may be there on the next request.
    if (!bytes) return nullptr;
    return &fileCache.emplace(std::move(name), std::move(*bytes)).first->second;
}
