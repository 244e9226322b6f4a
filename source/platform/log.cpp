#include "platform/log.h"

#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "platform/clock.h"
#include "platform/debug_output.h"

bool loggingEnabled = false;

namespace {

constexpr size_t lineBufferSize = 1024;

// True when the format's trailing white space holds a line feed.
bool endsLine(const char* format) {
    for (size_t i = std::strlen(format); i > 0; --i) {
        unsigned char c = static_cast<unsigned char>(format[i - 1]);
        if (c == '\n') return true;
        if (!std::isspace(c)) return false;
    }
    return false;
}

}  // namespace

void logMessage(const char* format, ...) {
    std::tm now = platform::localTime();
    char timestamp[64];  // 19 characters for any four-digit year
    std::snprintf(timestamp, sizeof timestamp, "%.4i-%.2i-%.2i %.2i:%.2i:%.2i",
                  now.tm_year + 1900, now.tm_mon + 1, now.tm_mday, now.tm_hour, now.tm_min,
                  now.tm_sec);

    // The caller's conversions are applied only once, in the final formatting.
    char lineFormat[lineBufferSize];
    std::snprintf(lineFormat, sizeof lineFormat, endsLine(format) ? "[%s] %s" : "[%s] %s\n",
                  timestamp, format);

    char line[lineBufferSize];
    va_list arguments;
    va_start(arguments, format);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    std::vsnprintf(line, sizeof line, lineFormat, arguments);
#pragma GCC diagnostic pop
    va_end(arguments);

    if (loggingEnabled) platform::writeDebugOutput(line);
}
