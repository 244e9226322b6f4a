#include "notifications/desktop_notify.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <systemd/sd-bus.h>

#include "notifications/notification_icon.h"
#include "notifications/plain_text.h"

namespace {

struct Hints {
    NotificationUrgency urgency = NotificationUrgency::NotGiven;
    bool transient = false;
    NotificationIcon icon;
    std::string iconLeftOut;  // why the image-data hint was not taken
};

int readImageData(sd_bus_message* message, Hints& hints) {
    RawIconPixels pixels;
    int hasAlpha = 0;
    const void* data = nullptr;
    int r = sd_bus_message_enter_container(message, 'v', "(iiibiiay)");
    if (r >= 0) r = sd_bus_message_enter_container(message, 'r', "iiibiiay");
    if (r >= 0)
        r = sd_bus_message_read(message, "iiibii", &pixels.width, &pixels.height, &pixels.rowstride, &hasAlpha,
                                &pixels.bitsPerSample, &pixels.channels);
    if (r >= 0) r = sd_bus_message_read_array(message, 'y', &data, &pixels.size);
    if (r >= 0) r = sd_bus_message_exit_container(message);
    if (r >= 0) r = sd_bus_message_exit_container(message);
    if (r < 0) return r;
    pixels.hasAlpha = hasAlpha != 0;
    pixels.data = static_cast<const std::uint8_t*>(data);
    std::string why;
    if (std::optional<NotificationIcon> decoded = iconFromRawPixels(pixels, why))
        hints.icon = std::move(*decoded);
    else
        hints.iconLeftOut = "image left out: " + why;
    return 0;
}

// One hint; those we do not read, or whose value has another type, are skipped.
int readHint(sd_bus_message* message, Hints& hints) {
    const char* key = nullptr;
    int r = sd_bus_message_read(message, "s", &key);
    if (r < 0) return r;
    char type = 0;
    const char* contents = nullptr;
    r = sd_bus_message_peek_type(message, &type, &contents);
    if (r < 0) return r;
    const std::string name = key, signature = contents ? contents : "";
    if (name == "urgency" && signature == "y") {
        std::uint8_t level = 0;
        r = sd_bus_message_read(message, "v", "y", &level);
        const NotificationUrgency levels[] = {NotificationUrgency::Low, NotificationUrgency::Normal,
                                              NotificationUrgency::Critical};
        if (r >= 0 && level < 3) hints.urgency = levels[level];
        return r;
    }
    // notify-send -h int:transient:1 sends it as a number.
    if (name == "transient" && (signature == "b" || signature == "i")) {
        int transient = 0;
        r = sd_bus_message_read(message, "v", signature.c_str(), &transient);
        hints.transient = transient != 0;
        return r;
    }
    if ((name == "image-data" || name == "image_data" || name == "icon_data") && signature == "(iiibiiay)")
        return readImageData(message, hints);
    return sd_bus_message_skip(message, "v");
}

int readHints(sd_bus_message* message, Hints& hints) {
    int r = sd_bus_message_enter_container(message, 'a', "{sv}");
    while (r >= 0) {
        r = sd_bus_message_enter_container(message, 'e', "sv");
        if (r <= 0) break;
        r = readHint(message, hints);
        if (r >= 0) r = sd_bus_message_exit_container(message);
    }
    if (r >= 0) r = sd_bus_message_exit_container(message);
    return r;
}

}  // namespace

ReadNotification readDesktopNotify(sd_bus_message* message) {
    if (sd_bus_message_has_signature(message, "susssasa{sv}i") <= 0) {
        const char* signature = sd_bus_message_get_signature(message, 1);
        return {std::nullopt, "refused: arguments '" + plainText(signature ? signature : "", 64) + "', not susssasa{sv}i"};
    }
    const char *application = nullptr, *iconName = nullptr, *summary = nullptr, *body = nullptr;
    std::uint32_t replaces = 0;
    std::int32_t timeout = -1;
    Hints hints;
    int r = sd_bus_message_rewind(message, 1);
    if (r >= 0) r = sd_bus_message_read(message, "susss", &application, &replaces, &iconName, &summary, &body);
    if (r >= 0) r = sd_bus_message_skip(message, "as");
    if (r >= 0) r = readHints(message, hints);
    if (r >= 0) r = sd_bus_message_read(message, "i", &timeout);
    if (r < 0) return {std::nullopt, std::string("refused: arguments unreadable (") + std::strerror(-r) + ")"};
    if (hints.transient) return {};
    Notification notification;
    notification.source = NotificationSource::Desktop;
    notification.sourceName = plainText(application, maxSourceNameCharacters);
    notification.title = plainText(summary, maxTitleCharacters);
    notification.content = plainTextFromMarkup(body, maxContentCharacters);
    if (notification.title.empty() && notification.content.empty()) return {std::nullopt, "refused: no summary and no body"};
    // -1 leaves the time to the server, 0 asks for no end: the toast's own
    // default and longest time.
    notification.timeoutSeconds = timeout < 0    ? defaultTimeoutSeconds
                                  : timeout == 0 ? maxTimeoutSeconds
                                                 : std::clamp(timeout / 1000.0f, minTimeoutSeconds, maxTimeoutSeconds);
    notification.urgency = hints.urgency;
    notification.icon = std::move(hints.icon);
    return {std::move(notification), std::move(hints.iconLeftOut)};
}
