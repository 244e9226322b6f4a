#include "packages/open_package.h"

#include <filesystem>

#include "packages/archive_file_provider.h"
#include "packages/folder_file_provider.h"
#include "platform/text_encoding.h"

std::unique_ptr<FileProvider> openPackage(const std::string& packagePath) {
    std::error_code error;
    const std::optional<std::filesystem::path> path = platform::pathFromUtf8(packagePath);
    if (path && std::filesystem::is_directory(*path, error))
        return std::make_unique<FolderFileProvider>(packagePath);
    return std::make_unique<ArchiveFileProvider>(packagePath);
}
