// Debug output and the fatal exit on POSIX systems: both go to standard error.
#include "platform/debug_output.h"
#include "platform/system_debug_output.h"

#include <cstring>
#include <unistd.h>

namespace platform {
namespace {

void writeAll(int fd, const char* bytes, size_t length) {
    while (length > 0) {
        ssize_t written = write(fd, bytes, length);
        if (written <= 0) return;  // nowhere left to report to
        bytes += written;
        length -= static_cast<size_t>(written);
    }
}

}  // namespace

void writeSystemDebugOutput(const char* text) { writeAll(STDERR_FILENO, text, std::strlen(text)); }

void fatalExit(const char* message) {
    writeAll(STDERR_FILENO, message, std::strlen(message));
    writeAll(STDERR_FILENO, "\n", 1);
    _exit(1);
}

}  // namespace platform
