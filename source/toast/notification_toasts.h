#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <vector>

#include "config/settings.h"

struct FontChain;
struct RenderTarget;

// Notifications from other programs as toasts beside the watch: the
// listeners the settings switch on, their queue, and the image of the toast
// in front. Linux has them (notification_toasts_posix.cpp); elsewhere there
// are none to show, and this does nothing (notification_toasts_win32.cpp).
class NotificationToasts {
public:
    // Toasts' texts are drawn in that chain of fonts, or ImGui's own font.
    NotificationToasts(const Settings& settings, FontChain* fonts);
    ~NotificationToasts();

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

    // The toast's image; null where there are no notifications.
    const RenderTarget* image() const;

    // The listeners' sockets to wait on, and when to serve them anyway.
    struct Wait {
        std::vector<int> sockets;
        std::optional<std::chrono::steady_clock::time_point> serveBy;
    };
    Wait wait(std::chrono::steady_clock::time_point now) const;

private:
    struct Listeners;
    std::unique_ptr<Listeners> listeners;
};
