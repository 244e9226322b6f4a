#include "platform/log.h"

#include <cctype>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>

#include "platform/clock.h"
#include "platform/debug_output.h"

bool loggingEnabled = false;

namespace {

constexpr size_t lineBufferSize = 1024;
constexpr std::chrono::seconds throttleInterval{1};

struct Throttle {
    std::chrono::steady_clock::time_point writtenAt;
    unsigned long leftOut = 0;
};

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

void logThrottled(const char* format, ...) {
    if (!loggingEnabled) return;
    // Keyed by the format's address: one entry per call site, a few dozen.
    static std::mutex mutex;
    static std::map<const char*, Throttle> throttles;
    const auto now = std::chrono::steady_clock::now();
    unsigned long leftOut = 0;
    {
        std::lock_guard<std::mutex> lock(mutex);
        auto [throttle, first] = throttles.try_emplace(format);
        if (!first && now - throttle->second.writtenAt < throttleInterval) {
            ++throttle->second.leftOut;
            return;
        }
        leftOut = throttle->second.leftOut;
        throttle->second = {now, 0};
    }
    char message[lineBufferSize];
    va_list arguments;
    va_start(arguments, format);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    std::vsnprintf(message, sizeof message, format, arguments);
#pragma GCC diagnostic pop
    va_end(arguments);
    if (leftOut)
        logMessage("%s (%lu more like this left out)", message, leftOut);
    else
        logMessage("%s", message);
}
