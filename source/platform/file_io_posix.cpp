// Opening and replacing files on POSIX systems.
#include "platform/file_io.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

// A name with a NUL byte would silently open a shorter name.
bool isUsablePath(const std::string& path) {
    return !path.empty() && path.find('\0') == std::string::npos;
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t count = write(fd, bytes.data(), bytes.size());
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(count));
    }
    return true;
}

}  // namespace

FileDescriptor openRegularFile(const std::string& path) {
    if (!isUsablePath(path)) return FileDescriptor(-1);
    // Non-blocking, so that opening a named pipe does not wait for a writer.
    FileDescriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat status;
    if (!file.isOpen() || fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return FileDescriptor(-1);
    }
    return file;
}

MappedFile::MappedFile(const std::string& path) {
    const FileDescriptor file = openRegularFile(path);
    struct stat status;
    if (!file.isOpen() || fstat(file.get(), &status) != 0 || status.st_size <= 0) return;
    const auto size = static_cast<std::size_t>(status.st_size);
    void* mapped = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, file.get(), 0);
    if (mapped == MAP_FAILED) return;
    address = static_cast<const char*>(mapped);
    length = size;
}

MappedFile::~MappedFile() {
    if (address) munmap(const_cast<char*>(address), length);
}

std::FILE* openFileForWriting(const std::string& path) {
    return isUsablePath(path) ? std::fopen(path.c_str(), "w") : nullptr;
}

bool replaceFile(const std::string& path, std::string_view bytes) {
    if (!isUsablePath(path)) return false;
    std::string temporaryPath = path + ".tmp";
    int fd = open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0) return false;
    // Flushed before the rename, so the name never points at bytes still in
    // flight; fsync also reports a disk that filled up after write() returned.
    bool complete = writeAll(fd, bytes) && fsync(fd) == 0;
    complete = close(fd) == 0 && complete;
    if (complete && std::rename(temporaryPath.c_str(), path.c_str()) == 0) return true;
    unlink(temporaryPath.c_str());
    return false;
}

}  // namespace platform
