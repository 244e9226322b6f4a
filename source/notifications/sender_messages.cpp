#include "notifications/sender_messages.h"

#include <nlohmann/json.hpp>
#include <string>

#include "notifications/notification_icon.h"
#include "notifications/plain_text.h"
#include "notifications/sender_json.h"

namespace {

// XSOverlay's own default timeout, which the toast then clamps.
constexpr double xsOverlayDefaultTimeout = 0.5;

bool isIconKeyword(const std::string& icon) {
    return icon.empty() || icon == "default" || icon == "error" || icon == "warning";
}

// Why the icon cannot be had, or nothing; files are read only when the
// notification is shown.
std::optional<NotificationIcon> readIcon(const IconRequest& request, std::string& why) {
    std::optional<std::vector<std::uint8_t>> bytes;
    if (request.base64) {
        bytes = decodeBase64(request.text, maxIconBytes);
        if (!bytes) why = "not base64 of at most 256 KiB";
    } else if (!request.fileAllowed) {
        why = "icon files are taken only from UDP datagrams";
    } else if (request.text[0] != '/') {
        why = "not an absolute path";
    } else if (request.text.find('\0') != std::string::npos) {
        // The system would read the path only up to the NUL.
        why = "a path with a NUL character";
    } else {
        bytes = readIconFile(request.text, why);
    }
    if (!bytes) return std::nullopt;
    return decodeIconImage(bytes->data(), bytes->size(), why);
}

// Why a message is refused.
ReadNotification refused(const std::string& why) { return {std::nullopt, "message refused: " + why}; }

// The fields that XSOverlay's two APIs share; 'typeKey' names the member
// that says "notification" (1).
ReadNotification readXsOverlayFields(const nlohmann::json& message, const char* typeKey, bool typeRequired,
                                     bool iconFiles, std::string_view fallbackName) {
    if (!message.is_object()) return refused("not a JSON object");
    std::string why, title, content, icon, sourceApp;
    double type = typeRequired ? 0 : 1, timeout = xsOverlayDefaultTimeout;
    bool base64Icon = false;
    if (!readNumber(message, typeKey, type, why) || !readString(message, "title", title, why) ||
        !readString(message, "content", content, why) || !readNumber(message, "timeout", timeout, why) ||
        !readBool(message, "useBase64Icon", base64Icon, why) || !readString(message, "icon", icon, why) ||
        !readString(message, "sourceApp", sourceApp, why))
        return refused(why);
    if (type != 1) return refused(std::string(typeKey) + " is not 1 (a notification)");
    Notification notification;
    notification.source = NotificationSource::XsOverlay;
    notification.sourceName = plainText(sourceApp.empty() ? fallbackName : std::string_view(sourceApp),
                                        maxSourceNameCharacters);
    notification.title = plainTextFromMarkup(title, maxTitleCharacters);
    notification.content = plainTextFromMarkup(content, maxContentCharacters);
    if (notification.title.empty() && notification.content.empty()) return refused("no title and no content");
    notification.timeoutSeconds = toastTimeoutSeconds(timeout);
    if (base64Icon || !isIconKeyword(icon)) notification.iconRequest = {icon, base64Icon, iconFiles};
    return {std::move(notification), {}};
}

// The text parsed as JSON, or the refusal; 'notObject' (when given) refuses
// JSON of another kind than an object.
std::optional<nlohmann::json> parse(std::string_view text, const char* notObject, ReadNotification& read) {
    std::string why;
    std::optional<nlohmann::json> value = parseSenderJson(text, why);
    if (!value)
        read = refused(why);
    else if (notObject && !value->is_object())
        read = refused(notObject), value.reset();
    return value;
}

}  // namespace

ReadNotification readXsOverlayDatagram(std::string_view datagram) {
    ReadNotification read;
    const std::optional<nlohmann::json> message = parse(datagram, nullptr, read);
    if (!message) return read;
    return readXsOverlayFields(*message, "messageType", true, true, "");
}

ReadNotification readXsOverlayWebSocketMessage(std::string_view message, std::string_view clientName) {
    ReadNotification read;
    const std::optional<nlohmann::json> envelope = parse(message, "not a JSON object", read);
    if (!envelope) return read;
    std::string why, target = "xsoverlay", command, jsonData;
    if (!readString(*envelope, "target", target, why) || !readString(*envelope, "command", command, why) ||
        !readString(*envelope, "jsonData", jsonData, why))
        return refused(why);
    // Other commands (SubscribeToEvents, RequestDeviceInformation...) are
    // XSOverlay's own business.
    if (target != "xsoverlay" || command != "SendNotification") return {};
    const std::optional<nlohmann::json> fields = parse(jsonData, nullptr, read);
    if (!fields) return read;
    return readXsOverlayFields(*fields, "type", false, false, clientName);
}

ReadNotification readOvrToolkitMessage(std::string_view message) {
    ReadNotification read;
    const std::optional<nlohmann::json> envelope = parse(message, "not a JSON object", read);
    if (!envelope) return read;
    std::string why, type, json;
    if (!readString(*envelope, "messageType", type, why) || !readString(*envelope, "json", json, why))
        return refused(why);
    // Keep-alives and the other commands show nothing.
    const bool wrist = type == "SendWristNotification";
    if (type != "SendNotification" && !wrist) return {};
    const std::optional<nlohmann::json> fields = parse(json, "its json is not an object", read);
    if (!fields) return read;
    std::string title, body, icon;
    if (!readString(*fields, "body", body, why) ||
        (!wrist && (!readString(*fields, "title", title, why) || !readString(*fields, "icon", icon, why))))
        return refused(why);
    Notification notification;
    notification.source = NotificationSource::OvrToolkit;
    notification.title = plainTextFromMarkup(title, maxTitleCharacters);
    notification.content = plainTextFromMarkup(body, maxContentCharacters);
    if (notification.title.empty() && notification.content.empty()) return refused("no title and no body");
    notification.timeoutSeconds = defaultTimeoutSeconds;
    if (!icon.empty()) notification.iconRequest = {icon, true, false};
    return {std::move(notification), {}};
}

std::string readNotificationIcon(Notification& notification) {
    const IconRequest& request = notification.iconRequest;
    if (request.text.empty() && !request.base64) return {};
    std::string why;
    if (std::optional<NotificationIcon> icon = readIcon(request, why)) {
        notification.icon = std::move(*icon);
        return {};
    }
    return "icon left out: " + why;
}
