#include "app/offline_window.h"

namespace {

// Copies the whole target to the window's bottom row, from the left edge.
void copyIntoWindow(const RenderTarget& source, GLint left) {
    glBindFramebuffer(GL_READ_FRAMEBUFFER, source.framebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glBlitFramebuffer(0, 0, source.width, source.height, left, 0, left + source.width,
                      source.height, GL_COLOR_BUFFER_BIT, GL_LINEAR);
}

}  // namespace

OfflineWindow::OfflineWindow(platform::Window& window)
    : window(window), backBufferKept(platform::swapKeepsBackBuffer(window)) {}

void OfflineWindow::present(const RenderTarget& watch, const RenderTarget* toast) {
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    if (!backBufferKept || !blackDrawn) {
        glClear(GL_COLOR_BUFFER_BIT);
        blackDrawn = true;
    } else if (toastShown && !toast) {
        glEnable(GL_SCISSOR_TEST);
        glScissor(watch.width, 0, toastShown->width, toastShown->height);
        glClear(GL_COLOR_BUFFER_BIT);
        glDisable(GL_SCISSOR_TEST);
    }
    copyIntoWindow(watch, 0);
    if (toast) copyIntoWindow(*toast, watch.width);
    toastShown = toast;
    platform::swapWindowBuffers(window);
}
