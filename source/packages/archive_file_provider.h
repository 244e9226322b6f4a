#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "packages/file_provider.h"

// What one archive may unpack to, so that a small hostile archive cannot ask
// for gigabytes.
struct ArchiveLimits {
    std::uint64_t totalBytes = std::uint64_t{256} << 20;
    std::size_t entries = 10000;
};

// Serves a 7z package: the constructor reads only the archive's list of
// entries; a file is unpacked when first asked for and kept, so listing a
// package costs its config alone and loading a watch the files it names.
// Small entries that a pass goes past are kept too, and a pass goes on from
// where the last one stopped, so a solid archive is unpacked once a load.
// Names are the archive's own in UTF-8, matched exactly, folders included as
// entries without bytes; of two entries with the same name the later one wins.
class ArchivePass;

class ArchiveFileProvider : public FileProvider {
public:
    // A file that is not a 7z archive gives no entries, and one whose list of
    // entries goes past the limits gives none and a diagnostic line naming
    // it. An entry that cannot be unpacked (damage, or more bytes than its
    // list said) gives null. The path is UTF-8.
    explicit ArchiveFileProvider(const std::string& archivePath, ArchiveLimits limits = {});
    ~ArchiveFileProvider() override;

    const FileBytes* getFile(std::string name) override;
    // Unpacks those entries in one pass over the archive, going on from the
    // last pass where they all lie after it.
    void willAskFor(const std::vector<std::string>& names) override;
    // Entry names are only keys: none leads anywhere.
    bool leadsOutside(const std::string&) const override { return false; }

private:
    std::string archivePath;
    // Each name's last entry, counted from 0 in the archive's order.
    std::map<std::string, std::size_t> entryIndex;
    std::map<std::string, FileBytes> fileCache;
    // What the entries not yet unpacked may still take.
    std::uint64_t bytesLeft = 0;
    // The last pass, open at the entry numbered cursorIndex.
    std::unique_ptr<ArchivePass> cursor;
    std::size_t cursorIndex = 0;
};
