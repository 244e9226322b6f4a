#include "packages/archive_file_provider.h"

#include <archive.h>
#include <archive_entry.h>
#include <optional>

#include "platform/file_io.h"
#include "platform/log.h"
#include "platform/text_encoding.h"
#include "platform/utf8_locale.h"

namespace {

// Entries up to this size are kept when a pass goes past them.
constexpr la_int64_t keptOnTheWayBytes = 4 << 20;

}  // namespace

// One pass over the archive: its file, libarchive's reader on it, and the
// locale its names are read in.
class ArchivePass {
public:
    explicit ArchivePass(const std::string& path) : file(platform::openRegularFile(path)) {
        if (!file.isOpen() || !reader) return;
        archive_read_support_format_7zip(reader);
        archive_read_support_filter_all(reader);
        opened = archive_read_open_fd(reader, file.get(), 1 << 16) == ARCHIVE_OK;
    }
    ~ArchivePass() { archive_read_free(reader); }
    ArchivePass(const ArchivePass&) = delete;
    ArchivePass& operator=(const ArchivePass&) = delete;

    // The next entry, or null at the end and at damage. Skipping an entry
    // unpacks nothing of it unless a later entry of the same block is read.
    archive_entry* next() {
        archive_entry* entry = nullptr;
        if (!opened) return nullptr;
        const int status = archive_read_next_header(reader, &entry);
        return status == ARCHIVE_OK || status == ARCHIVE_WARN ? entry : nullptr;
    }
    archive* handle() const { return reader; }

private:
    const platform::Utf8Locale utf8Locale;
    platform::FileDescriptor file;
    archive* reader = archive_read_new();
    bool opened = false;
};

namespace {

// The name as the archive stores it; libarchive adds a '/' to folder names.
// Taken as wide text: on Windows the narrow forms hold only names of the ANSI
// code page.
std::optional<std::string> storedName(archive_entry* entry) {
    const wchar_t* wide = archive_entry_pathname_w(entry);
    std::optional<std::string> converted = wide ? platform::utf8FromWide(wide) : std::nullopt;
    if (!converted) return std::nullopt;
    std::string name = std::move(*converted);
    if (archive_entry_filetype(entry) == AE_IFDIR && name.size() > 1 && name.back() == '/') name.pop_back();
    return name;
}

// The current entry's contents, never holding more than `budget`; nothing
// when it is damaged or larger.
std::optional<FileBytes> readContents(archive* reader, std::uint64_t budget) {
    FileBytes bytes;
    char chunk[1 << 16];
    for (;;) {
        const la_ssize_t count = archive_read_data(reader, chunk, sizeof chunk);
        if (count < 0) return std::nullopt;
        if (count == 0) return bytes;
        if (bytes.size() + static_cast<std::uint64_t>(count) > budget) return std::nullopt;
        bytes.insert(bytes.end(), chunk, chunk + count);
    }
}

}  // namespace

ArchiveFileProvider::ArchiveFileProvider(const std::string& archivePath, ArchiveLimits limits)
    : archivePath(archivePath), bytesLeft(limits.totalBytes) {
    ArchivePass pass(archivePath);
    // What the list declares refuses a bomb before anything is unpacked.
    std::uint64_t declared = 0;
    std::size_t index = 0;
    for (archive_entry* entry = pass.next(); entry; entry = pass.next(), ++index) {
        if (archive_entry_size_is_set(entry))
            declared += static_cast<std::uint64_t>(archive_entry_size(entry));
        if (index == limits.entries || declared > limits.totalBytes) {
            entryIndex.clear();
            logMessage("Watch package is too large to unpack, skipped: %s", archivePath.c_str());
            return;
        }
        // A name that is not valid UTF-16 cannot be asked for.
        if (std::optional<std::string> name = storedName(entry)) entryIndex[*name] = index;
    }
}

const FileBytes* ArchiveFileProvider::getFile(std::string name) {
    auto cached = fileCache.find(name);
    if (cached != fileCache.end()) return &cached->second;
    if (entryIndex.count(name) == 0) return nullptr;
    willAskFor({name});
    cached = fileCache.find(name);
    return cached == fileCache.end() ? nullptr : &cached->second;
}

void ArchiveFileProvider::willAskFor(const std::vector<std::string>& names) {
    // Each wanted entry not yet unpacked, by its place in the archive.
    std::map<std::size_t, std::string> wanted;
    for (const std::string& name : names) {
        auto listed = entryIndex.find(name);
        if (listed != entryIndex.end() && fileCache.count(name) == 0) wanted.emplace(listed->second, name);
    }
    if (wanted.empty()) return;
    // The pass goes on from where the last one stopped when it can: a solid
    // block is unpacked from its start, so going back costs all before.
    if (!cursor || wanted.begin()->first < cursorIndex) {
        cursor = std::make_unique<ArchivePass>(archivePath);
        cursorIndex = 0;
    }
    while (!wanted.empty()) {
        archive_entry* entry = cursor->next();
        if (!entry) {
            cursor.reset();
            for (const auto& [index, name] : wanted) entryIndex.erase(name);
            return;
        }
        const std::size_t index = cursorIndex++;
        const std::optional<std::string> name = storedName(entry);
        auto due = wanted.find(index);
        const bool isWanted = due != wanted.end();
        if (isWanted) wanted.erase(due);
        // A small entry on the way is kept: in a solid block it is unpacked
        // anyway, and a package's images and fonts are what comes next.
        const bool keptOnTheWay = name && archive_entry_size_is_set(entry) &&
                                  archive_entry_size(entry) <= keptOnTheWayBytes &&
                                  entryIndex.count(*name) && entryIndex[*name] == index &&
                                  !fileCache.count(*name);
        if (!isWanted && !keptOnTheWay) continue;
        std::optional<FileBytes> bytes;
        if (name) bytes = readContents(cursor->handle(), bytesLeft);
        if (!bytes) {
            if (isWanted && name) entryIndex.erase(*name);  // a failed entry is not tried again
            continue;
        }
        bytesLeft -= bytes->size();
        fileCache.emplace(*name, std::move(*bytes));
    }
}

ArchiveFileProvider::~ArchiveFileProvider() = default;
