#include "packages/archive_file_provider.h"

#include <archive.h>
#include <archive_entry.h>
#include <optional>

#include "platform/file_io.h"
#include "platform/log.h"
#include "platform/text_encoding.h"
#include "platform/utf8_locale.h"

namespace {

enum class Outcome { complete, damaged, overLimit };

struct ArchiveReader {
    archive* handle = archive_read_new();
    ~ArchiveReader() { archive_read_free(handle); }
};

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

// Reads the current entry's contents without ever holding more than `budget`.
Outcome readContents(archive* reader, archive_entry* entry, std::uint64_t budget, FileBytes& bytes) {
    // The declared size refuses an oversized entry before anything is decoded.
    if (archive_entry_size_is_set(entry)) {
        auto declared = static_cast<std::uint64_t>(archive_entry_size(entry));
        if (declared > budget) return Outcome::overLimit;
        bytes.reserve(static_cast<std::size_t>(declared));
    }
    char chunk[1 << 16];
    for (;;) {
        la_ssize_t count = archive_read_data(reader, chunk, sizeof chunk);
        if (count < 0) return Outcome::damaged;
        if (count == 0) return Outcome::complete;
        if (bytes.size() + static_cast<std::uint64_t>(count) > budget) return Outcome::overLimit;
        bytes.insert(bytes.end(), chunk, chunk + count);
    }
}

Outcome readEntries(archive* reader, const ArchiveLimits& limits, std::map<std::string, FileBytes>& files) {
    std::uint64_t unpacked = 0;
    std::size_t entries = 0;
    archive_entry* entry = nullptr;
    for (;;) {
        int status = archive_read_next_header(reader, &entry);
        if (status == ARCHIVE_EOF) return Outcome::complete;
        if (status != ARCHIVE_OK && status != ARCHIVE_WARN) return Outcome::damaged;
        if (++entries > limits.entries) return Outcome::overLimit;

        FileBytes bytes;
        Outcome outcome = readContents(reader, entry, limits.totalBytes - unpacked, bytes);
        if (outcome != Outcome::complete) return outcome;
        unpacked += bytes.size();
        // A name that is not valid UTF-16 cannot be asked for.
        if (std::optional<std::string> name = storedName(entry)) files[*name] = std::move(bytes);
    }
}

}  // namespace

ArchiveFileProvider::ArchiveFileProvider(const std::string& archivePath, ArchiveLimits limits) {
    platform::FileDescriptor file = platform::openRegularFile(archivePath);
    if (!file.isOpen()) return;
    const platform::Utf8Locale utf8Locale;
    ArchiveReader reader;
    if (!reader.handle) return;
    archive_read_support_format_7zip(reader.handle);
    archive_read_support_filter_all(reader.handle);
    if (archive_read_open_fd(reader.handle, file.get(), 1 << 16) != ARCHIVE_OK) return;

    if (readEntries(reader.handle, limits, fileCache) == Outcome::overLimit) {
        fileCache.clear();
        logMessage("Watch package is too large to unpack, skipped: %s", archivePath.c_str());
    }
}

const FileBytes* ArchiveFileProvider::getFile(std::string name) {
    auto found = fileCache.find(name);
    return found == fileCache.end() ? nullptr : &found->second;
}
