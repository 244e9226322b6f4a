#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

#include "packages/file_provider.h"

// What one archive may unpack to, so that a small hostile archive cannot ask
// for gigabytes.
struct ArchiveLimits {
    std::uint64_t totalBytes = std::uint64_t{256} << 20;
    std::size_t entries = 10000;
};

// Serves a 7z package from memory: the constructor unpacks the whole archive
// and closes it again. Names are the archive's own in UTF-8, matched exactly,
// folders included as entries without bytes; of two entries with the same
// name the later one wins.
class ArchiveFileProvider : public FileProvider {
public:
    // A file that is not a 7z archive gives no entries, a damaged one keeps
    // the entries before the damage, and one past the limits gives no entries
    // and a diagnostic line naming it.
    // The path is UTF-8.
    explicit ArchiveFileProvider(const std::string& archivePath, ArchiveLimits limits = {});

    const FileBytes* getFile(std::string name) override;

private:
    std::map<std::string, FileBytes> fileCache;
};
