#pragma once

#include <mutex>
#include <sstream>
#include <string>
#include <utility>

#include "platform/debug_output.h"
#include "platform/log.h"

// Collects what the program writes to the debugger output while it lives.
class DebugOutputCapture {
public:
    DebugOutputCapture() {
        captured().clear();
        platform::setDebugOutputSink(capture);
    }
    ~DebugOutputCapture() { platform::setDebugOutputSink(nullptr); }
    DebugOutputCapture(const DebugOutputCapture&) = delete;
    DebugOutputCapture& operator=(const DebugOutputCapture&) = delete;
    const std::string& text() const { return captured(); }
    // The log's lines without their time stamps.
    std::string messages() const {
        std::string messages;
        std::istringstream lines(text());
        for (std::string line; std::getline(lines, line);) messages += line.substr(line.find("] ") + 2) + "\n";
        return messages;
    }

private:
    static std::string& captured() {
        static std::string text;
        return text;
    }
    // The output may come from any thread.
    static void capture(const char* text) {
        static std::mutex lock;
        const std::lock_guard<std::mutex> hold(lock);
        captured() += text;
    }
};

// Collects the log, turned on as in the program while it lives.
class LogCapture : public DebugOutputCapture {
public:
    LogCapture() : wasLogging_(std::exchange(loggingEnabled, true)) {}
    ~LogCapture() { loggingEnabled = wasLogging_; }

private:
    bool wasLogging_;
};
