#include "platform/debug_output.h"

#include <atomic>
#include <cstring>
#include <unistd.h>

namespace platform {
namespace {

std::atomic<DebugOutputSink> currentSink{nullptr};

void writeAll(int fd, const char* bytes, size_t length) {
    while (length > 0) {
        ssize_t written = write(fd, bytes, length);
        if (written <= 0) return;  // nowhere left to report to
        bytes += written;
        length -= static_cast<size_t>(written);
    }
}

}  // namespace

void writeDebugOutput(const char* text) {
    if (DebugOutputSink sink = currentSink.load()) {
        sink(text);
        return;
    }
    writeAll(STDERR_FILENO, text, std::strlen(text));
}

void setDebugOutputSink(DebugOutputSink sink) { currentSink.store(sink); }

void fatalExit(const char* message) {
    writeAll(STDERR_FILENO, message, std::strlen(message));
    writeAll(STDERR_FILENO, "\n", 1);
    _exit(1);
}

}  // namespace platform
