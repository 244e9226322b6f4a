#include "support/debug_output_capture.h"

#include <mutex>

#include "platform/debug_output.h"

namespace {

std::mutex capturedLock;
std::string captured;

void capture(const char* text) {
    std::lock_guard<std::mutex> hold(capturedLock);
    captured += text;
}

}  // namespace

DebugOutputCapture::DebugOutputCapture() {
    captured.clear();
    platform::setDebugOutputSink(capture);
}

DebugOutputCapture::~DebugOutputCapture() { platform::setDebugOutputSink(nullptr); }

const std::string& DebugOutputCapture::text() const { return captured; }
