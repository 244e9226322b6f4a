// Opening and replacing files on POSIX systems.
#include "platform/file_io.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
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

// The system's reason in the words a user knows best.
std::string reasonOf(int error) {
    if (error == ENOSPC || error == EDQUOT || error == EFBIG) return "the disk is full";
    if (error == EACCES || error == EPERM || error == EROFS) return "its folder is read-only";
    if (error == ENOENT) return "its folder does not exist";
    return std::strerror(error);
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

bool replaceFile(const std::string& path, std::string_view bytes, std::string* whyNot) {
    auto failed = [&](const std::string& reason) {
        if (whyNot) *whyNot = path + reason;
        return false;
    };
    if (!isUsablePath(path)) return failed(" is no usable file name");
    struct stat old;
    const bool replacing = lstat(path.c_str(), &old) == 0;
    if (replacing) {
        if (S_ISDIR(old.st_mode)) return failed(" is a directory");
        if (!S_ISREG(old.st_mode)) return failed(" is not a regular file");
        // Without any write permission it is read-only, also to root, whom
        // access() lets write anything.
        if ((old.st_mode & 0222) == 0 || access(path.c_str(), W_OK) != 0) return failed(" is read-only");
    }
    std::string temporaryPath = path + ".tmp";
    int fd = open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0) return failed(" cannot be written: " + reasonOf(errno));
    bool complete = true;
    if (replacing) {
        // The owner is kept where the system lets us (as root); the
        // permissions always.
        if ((old.st_uid != geteuid() || old.st_gid != getegid()) && fchown(fd, old.st_uid, old.st_gid) != 0) {
            // Another user's file that we may write: it becomes ours, as an editor's save would make it.
        }
        complete = fchmod(fd, old.st_mode & 0777) == 0;
    }
    // Flushed before the rename, so the name never points at bytes still in
    // flight; fsync also reports a disk that filled up after write() returned.
    complete = complete && writeAll(fd, bytes) && fsync(fd) == 0;
    const int writeError = errno;
    complete = close(fd) == 0 && complete;
    if (complete && std::rename(temporaryPath.c_str(), path.c_str()) == 0) return true;
    const int error = complete ? errno : writeError;
    unlink(temporaryPath.c_str());
    return failed(" cannot be written: " + reasonOf(error));
}

}  // namespace platform
