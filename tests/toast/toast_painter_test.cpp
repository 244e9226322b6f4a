// The toast painter draws senders' texts in every script through the text
// engine, never as ImGui's question marks.
#include <gtest/gtest.h>
#include <set>

#include "gl/render_target.h"
#include "notifications/toast_queue.h"
#include "support/gl_test_context.h"
#include "text/text_fonts.h"
#include "toast/toast_painter.h"

namespace {

TEST(ToastPainterTest, EveryScriptDrawsGlyphsOfItsOwn) {
    ensureGlContext();
    const FontChainPointer fonts = chainWith();
    ToastPainter painter(fonts.get());
    const RenderTarget target = createRenderTarget(toastWidth, toastHeight);
    const auto painted = [&](const std::string& title) {
        Toast toast;
        toast.notification.sourceName = "VRCX";
        toast.notification.title = title;
        painter.paint(toast, target);
        std::vector<std::uint8_t> pixels(std::size_t(toastWidth) * toastHeight * 4);
        glReadPixels(0, 0, toastWidth, toastHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    };
    std::set<std::vector<std::uint8_t>> seen{painted(""), painted("?"), painted("???????"), painted("????????????????")};
    for (const Sample& sample : everyScript) EXPECT_TRUE(seen.insert(painted(sample.text)).second) << sample.script;
}

}  // namespace
