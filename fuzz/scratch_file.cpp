#include "scratch_file.h"

#include <cstdlib>
#include <sys/mman.h>
#include <unistd.h>

ScratchFile::ScratchFile()
    : fd_(memfd_create("fuzz-input", MFD_CLOEXEC)), path_("/proc/self/fd/" + std::to_string(fd_)) {
    // Without the file no input could reach the code under test.
    if (fd_ < 0) std::abort();
}

ScratchFile::~ScratchFile() { close(fd_); }

void ScratchFile::replaceContents(const std::uint8_t* data, std::size_t size) {
    if (ftruncate(fd_, 0) != 0) std::abort();
    for (std::size_t written = 0; written < size;) {
        ssize_t count = pwrite(fd_, data + written, size - written, static_cast<off_t>(written));
        if (count <= 0) std::abort();
        written += static_cast<std::size_t>(count);
    }
}
