#include "platform/debug_output.h"

#include <atomic>

#include "platform/system_debug_output.h"

namespace platform {
namespace {

std::atomic<DebugOutputSink> currentSink{nullptr};

}  // namespace

void writeDebugOutput(const char* text) {
    if (DebugOutputSink sink = currentSink.load()) {
        sink(text);
        return;
    }
    writeSystemDebugOutput(text);
}

void setDebugOutputSink(DebugOutputSink sink) { currentSink.store(sink); }

}  // namespace platform
