#include "packages/folder_file_provider.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <utility>

#include "platform/file_io.h"
#include "platform/text_encoding.h"

namespace {

namespace fs = std::filesystem;

// Names with a root (on Windows also "\\name" and "C:name"), names that climb
// out of the folder and names the system cannot take.
bool namedInside(const std::string& name) {
    const std::optional<fs::path> path = platform::pathFromUtf8(name);
    if (!path) return false;
    const fs::path relative = path->lexically_normal();
    return !relative.has_root_path() && (relative.empty() || *relative.begin() != "..");
}

// Whether `inner`, an existing canonical path, lies in `folder`.
bool liesIn(const fs::path& inner, const fs::path& folder) {
    const auto [mismatch, unused] = std::mismatch(folder.begin(), folder.end(), inner.begin(), inner.end());
    return mismatch == folder.end();
}

}  // namespace

FolderFileProvider::FolderFileProvider(std::string root) : root(std::move(root)) {}

const FileBytes* FolderFileProvider::getFile(std::string name) {
    auto cached = fileCache.find(name);
    if (cached != fileCache.end()) return &cached->second;

    // A package reads only its own files, so a hostile package can show no
    // other file, neither by its name nor through a link.
    if (leadsOutside(name)) return nullptr;
    std::optional<FileBytes> bytes = platform::readFileBytes(root + "/" + name);
    // Misses are not remembered: the file may be there on the next request.
    if (!bytes) return nullptr;
    return &fileCache.emplace(std::move(name), std::move(*bytes)).first->second;
}

bool FolderFileProvider::leadsOutside(const std::string& name) const {
    if (!namedInside(name)) return true;
    // A file that is not there leads nowhere; links are followed to the end.
    std::error_code error;
    const std::optional<fs::path> folder = platform::pathFromUtf8(root);
    const std::optional<fs::path> file = platform::pathFromUtf8(root + "/" + name);
    if (!folder || !file || !fs::exists(*file, error)) return false;
    const fs::path realFolder = fs::canonical(*folder, error);
    if (error) return true;
    const fs::path realFile = fs::canonical(*file, error);
    return error || !liesIn(realFile, realFolder);
}
