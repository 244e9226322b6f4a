#include "support/test_files.h"

#include "horlox_watch/package_archive.h"
#include "platform/file_io.h"
#include "platform/text_encoding.h"

bool packWith7Zip(const std::string& folder, const std::string& archivePath, const std::string& arguments) {
    const std::optional<std::filesystem::path> root = platform::pathFromUtf8(folder);
    const std::optional<std::filesystem::path> archive = platform::pathFromUtf8(archivePath);
    if (arguments != "." || !root || !archive) return false;
    // As 7-Zip does, the archive's folder is made when it is missing.
    std::error_code error;
    std::filesystem::create_directories(archive->parent_path(), error);
    const PackedArchive packed = packSevenZip(*root, packageFileNames(*root, {}));
    return packed.error.empty() && platform::replaceFile(archivePath, packed.bytes);
}
