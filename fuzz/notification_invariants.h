#pragma once

#include <cstdlib>
#include <string>

#include "notifications/notification.h"
#include "notifications/sender_messages.h"

// What every notification read from any input must hold: plain UTF-8 text
// within its lengths, a timeout within its range, an icon whose pixels
// match its size once the icon it names is read.
inline std::size_t utf8Characters(const std::string& text) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++characters) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
        if (length == 0 || i + length > text.size()) std::abort();
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) std::abort();
        if (length == 1 && lead < 0x20 && lead != '\n') std::abort();
        i += length;
    }
    return characters;
}

inline void checkNotification(const ReadNotification& read) {
    if (!read.notification) return;
    Notification notification = *read.notification;
    readNotificationIcon(notification);
    if (utf8Characters(notification.title) > maxTitleCharacters ||
        utf8Characters(notification.content) > maxContentCharacters ||
        utf8Characters(notification.sourceName) > maxSourceNameCharacters)
        std::abort();
    if (notification.title.empty() && notification.content.empty()) std::abort();
    if (!(notification.timeoutSeconds >= minTimeoutSeconds && notification.timeoutSeconds <= maxTimeoutSeconds))
        std::abort();
    const NotificationIcon& icon = notification.icon;
    if (icon.width < 0 || icon.height < 0 || icon.width > 512 || icon.height > 512 ||
        icon.rgba.size() != std::size_t(icon.width) * std::size_t(icon.height) * 4)
        std::abort();
}
