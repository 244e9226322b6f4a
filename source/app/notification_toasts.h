#pragma once

#include <chrono>
#include <cstdint>

#include "config/settings.h"
#include "gl/render_target.h"
#include "notifications/notification_center.h"
#include "toast/toast_painter.h"

// Notifications from other programs as toasts beside the watch: the
// listeners the settings switch on, their queue, and the image of the toast
// in front. Built on Linux only, where the listeners are.
class NotificationToasts {
public:
    // Toasts' texts are drawn in that chain of fonts, or ImGui's own font.
    NotificationToasts(const Settings& settings, FontChain* fonts);

    // What one pass shows: the toast's alpha (0 while none shows), whether
    // it is fading in or out, and whether its image was drawn anew in this
    // pass.
    struct Shown {
        float alpha = 0;
        bool fading = false;
        bool newImage = false;
    };
    // Applies changed switches, serves the listeners and draws the toast in
    // front when it is new or its count changed.
    Shown serve(const Settings& settings, std::chrono::steady_clock::time_point now);

    const RenderTarget& image() const { return target; }
    // The listeners' sockets to wait on, and when to serve them anyway.
    NotificationWait wait(std::chrono::steady_clock::time_point now) const {
        return notificationWait(*center, now);
    }

private:
    NotificationCenterPointer center;
    NotificationChoices applied;
    ToastPainter painter;
    RenderTarget target;
    // Which toast the image shows, and how many notifications it stood for.
    std::uint64_t paintedSerial = 0;
    int paintedCount = 0;
};
