#include "horlox_watch/package_archive.h"

#include <algorithm>
#include <memory>
#include <optional>

#include <archive.h>
#include <archive_entry.h>

#include "platform/file_io.h"
#include "platform/text_encoding.h"
#include "platform/utf8_locale.h"

namespace fs = std::filesystem;

namespace {

struct ArchiveWriterFree {
    void operator()(archive* writer) const { archive_write_free(writer); }
};
struct ArchiveEntryFree {
    void operator()(archive_entry* entry) const { archive_entry_free(entry); }
};

la_ssize_t appendToString(archive*, void* bytes, const void* buffer, size_t length) {
    static_cast<std::string*>(bytes)->append(static_cast<const char*>(buffer), length);
    return static_cast<la_ssize_t>(length);
}

std::string errorOf(archive* writer) {
    const char* message = archive_error_string(writer);
    return message ? message : "the 7z writer failed";
}

bool isSameFile(const fs::path& a, const fs::path& b) {
    std::error_code error;
    return fs::equivalent(a, b, error);
}

// Adds one file; an empty text on success, else what went wrong.
std::string addFile(archive* writer, const fs::path& folder, const std::string& name) {
    const std::string path = platform::utf8FromPath(folder) + "/" + name;
    const std::optional<std::vector<char>> content = platform::readFileBytes(path);
    if (!content) return "cannot read " + path;
    std::unique_ptr<archive_entry, ArchiveEntryFree> entry(archive_entry_new());
    // 7z stores names as UTF-16, which libarchive makes from wide text; a name
    // that is no UTF-8 cannot be stored.
    const std::optional<std::wstring> wideName = platform::wideFromUtf8(name);
    if (!wideName) return "cannot store the name " + name + " (it is not UTF-8)";
    archive_entry_copy_pathname_w(entry.get(), wideName->c_str());
    archive_entry_set_filetype(entry.get(), AE_IFREG);
    archive_entry_set_perm(entry.get(), 0644);
    archive_entry_set_size(entry.get(), static_cast<la_int64_t>(content->size()));
    if (archive_write_header(writer, entry.get()) != ARCHIVE_OK ||
        archive_write_data(writer, content->data(), content->size()) !=
            static_cast<la_ssize_t>(content->size()))
        return errorOf(writer);
    return "";
}

}  // namespace

std::vector<std::string> packageFileNames(const fs::path& folder, const fs::path& excluded) {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::recursive_directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        if (!entry->is_regular_file() || isSameFile(entry->path(), excluded)) continue;
        // Joined with '/' part by part: the generic form of a Windows name
        // would pass through the ANSI code page.
        std::string name;
        for (const fs::path& part : entry->path().lexically_relative(folder))
            name += (name.empty() ? "" : "/") + platform::utf8FromPath(part);
        names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end());
    return names;
}

PackedArchive packSevenZip(const fs::path& folder, const std::vector<std::string>& names) {
    const platform::Utf8Locale utf8Locale;
    // Declared before the writer, which may still write while it is freed.
    std::string bytes;
    std::unique_ptr<archive, ArchiveWriterFree> writer(archive_write_new());
    // No padding to the block size after the archive's last byte.
    if (!writer || archive_write_set_format_7zip(writer.get()) != ARCHIVE_OK ||
        archive_write_set_bytes_in_last_block(writer.get(), 1) != ARCHIVE_OK ||
        archive_write_open(writer.get(), &bytes, nullptr, appendToString, nullptr) != ARCHIVE_OK)
        return {"", "cannot start a 7z archive"};
    for (const std::string& name : names) {
        std::string error = addFile(writer.get(), folder, name);
        if (!error.empty()) return {"", error};
    }
    // The 7z writer puts the whole archive out only when it is closed.
    if (archive_write_close(writer.get()) != ARCHIVE_OK) return {"", errorOf(writer.get())};
    return {bytes, ""};
}
