#include "platform/file_io.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

// The part of file reading that POSIX and the Windows C runtime share; the
// opening and replacing of files are in file_io_<system>.cpp.
namespace platform {
namespace {

bool readAll(int fd, std::vector<char>& bytes) {
    char chunk[1 << 16];
    for (;;) {
        auto count = read(fd, chunk, sizeof chunk);
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) return false;
        if (count == 0) return true;
        if (bytes.size() + static_cast<std::size_t>(count) > maxFileBytes) return false;
        bytes.insert(bytes.end(), chunk, chunk + count);
    }
}

}  // namespace

FileDescriptor::~FileDescriptor() {
    if (fd >= 0) close(fd);
}

std::optional<std::vector<char>> readFileBytes(const std::string& path) {
    FileDescriptor file = openRegularFile(path);
    struct stat status;
    if (!file.isOpen() || fstat(file.get(), &status) != 0 ||
        static_cast<unsigned long long>(status.st_size) > maxFileBytes) {
        return std::nullopt;
    }
    std::vector<char> bytes;
    bytes.reserve(static_cast<std::size_t>(status.st_size));
    if (!readAll(file.get(), bytes)) return std::nullopt;
    return bytes;
}

}  // namespace platform
