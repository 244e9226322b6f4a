#pragma once

#include <cstddef>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Whole-file reading and writing for the program's data files, by UTF-8 names.

namespace platform {

// Files larger than this are no data of ours; refusing them keeps a stray
// huge file from exhausting memory.
constexpr std::size_t maxFileBytes = std::size_t{256} << 20;

// Owns an open file descriptor and closes it; -1 stands for none.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd(fd) {}
    FileDescriptor(FileDescriptor&& other) noexcept : fd(std::exchange(other.fd, -1)) {}
    FileDescriptor& operator=(FileDescriptor&&) = delete;
    ~FileDescriptor();

    bool isOpen() const { return fd >= 0; }
    int get() const { return fd; }

private:
    int fd;
};

// Opens a regular file read-only. Directories, pipes and devices are refused,
// so a stray name can neither block nor read forever.
FileDescriptor openRegularFile(const std::string& path);

// The complete contents of a regular file, or nothing when it cannot be read.
std::optional<std::vector<char>> readFileBytes(const std::string& path);

// A regular file's bytes mapped read-only into memory: only the pages looked
// at are read, and the system may drop them again, so a large file that is
// read here and there (a font) takes little memory. Empty (no data) when the
// file cannot be opened or mapped, or has no bytes. The file must not be cut
// shorter while it is mapped; programs that update files (package managers)
// write a new file and rename it, which leaves the mapped one whole.
class MappedFile {
public:
    explicit MappedFile(const std::string& path);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    const char* data() const { return address; }
    std::size_t size() const { return length; }

private:
    const char* address = nullptr;
    std::size_t length = 0;
};

// Creates or empties a file and opens it for writing; the bytes land as
// written (no CR before LF on Windows). Null when it cannot be opened.
std::FILE* openFileForWriting(const std::string& path);

// Writes the bytes to a temporary file beside `path` and renames it over
// `path`, so a crash or a full disk leaves the old file whole. The new file
// keeps the old one's permissions; a read-only file, a directory or another
// kind of file that stands at `path` is left alone. False when anything
// failed; the old file is then untouched and `whyNot`, when given, says why
// in words for the user, naming the path ("settings.conf is read-only").
bool replaceFile(const std::string& path, std::string_view bytes, std::string* whyNot = nullptr);

}  // namespace platform
