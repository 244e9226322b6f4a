#include "packages/open_package.h"

#include "packages/archive_file_provider.h"
#include "packages/folder_file_provider.h"

std::unique_ptr<FileProvider> openPackage(const std::filesystem::path& packagePath) {
    std::error_code error;
    if (std::filesystem::is_directory(packagePath, error))
        return std::make_unique<FolderFileProvider>(packagePath);
    return std::make_unique<ArchiveFileProvider>(packagePath);
}
