#include <gtest/gtest.h>

#include "gl/gl_diagnostics.h"
#include "support/debug_output_capture.h"
#include "support/gl_test_context.h"

namespace {

TEST(GlDiagnosticsTest, PendingErrorIsReportedWithItsPlaceAndHexCodeAndNoneIsSilent) {
    ensureGlContext();
    while (glGetError() != GL_NO_ERROR) {
    }
    {
        DebugOutputCapture output;
        checkGlError("main.cpp", 1);
        EXPECT_EQ(output.text(), "");
    }
    glEnable(0xFFFF);  // not a capability: GL_INVALID_ENUM
    DebugOutputCapture output;
    checkGlError("main.cpp", 42);
    EXPECT_EQ(output.text(), "OpenGL Error (main.cpp:42): 500\n");
}

// Driver messages reach the debug output through the callback; notifications
// are dropped, other severities written once.
TEST(GlDiagnosticsTest, DriverMessagesOtherThanNotificationsAreWritten) {
    ensureGlContext();
    glEnable(GL_DEBUG_OUTPUT_SYNCHRONOUS);  // so the message arrives before the check
    DebugOutputCapture output;
    glDebugMessageInsert(GL_DEBUG_SOURCE_APPLICATION, GL_DEBUG_TYPE_MARKER, 1, GL_DEBUG_SEVERITY_NOTIFICATION,
                         -1, "quiet");
    glDebugMessageInsert(GL_DEBUG_SOURCE_APPLICATION, GL_DEBUG_TYPE_OTHER, 2, GL_DEBUG_SEVERITY_HIGH, -1, "loud");
    glDisable(GL_DEBUG_OUTPUT_SYNCHRONOUS);
    for (GLenum severity : {GL_DEBUG_SEVERITY_MEDIUM, GL_DEBUG_SEVERITY_LOW})
        onGlDebugMessage(GL_DEBUG_SOURCE_API, GL_DEBUG_TYPE_ERROR, 7, severity, -1, "50% bad", nullptr);
    EXPECT_EQ(output.text(), "OpenGL Debug Message: loud\n"
                             "OpenGL Debug Message: 50% bad\n"
                             "OpenGL Debug Message: 50% bad\n");
}

}  // namespace
