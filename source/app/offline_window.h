#pragma once

#include "gl/render_target.h"
#include "platform/window.h"

// The offline window: the watch image in its lower-left corner and a toast,
// when one shows, right beside it, on black.
class OfflineWindow {
public:
    explicit OfflineWindow(platform::Window& window);

    // Draws the images into the back buffer and swaps.
    void present(const RenderTarget& watch, const RenderTarget* toast);

private:
    platform::Window& window;
    // Where a swap keeps the back buffer, the black around the images stays
    // from the first present on and only the place a toast left is cleared:
    // clearing the whole window costs a software rasteriser more than all
    // else in the present.
    const bool backBufferKept;
    bool blackDrawn = false;
    const RenderTarget* toastShown = nullptr;
};
