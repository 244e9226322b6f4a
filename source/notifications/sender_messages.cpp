#include "notifications/sender_messages.h"

#include <nlohmann/json.hpp>
#include <string>

#include "notifications/notification_icon.h"
#include "notifications/plain_text.h"
#include "notifications/sender_json.h"
#include "platform/log.h"

namespace {

// XSOverlay's own default timeout, which the toast then clamps.
constexpr double xsOverlayDefaultTimeout = 0.5;

enum class IconSource { Base64Only, Base64OrFile };

bool isIconKeyword(const std::string& icon) {
    return icon.empty() || icon == "default" || icon == "error" || icon == "warning";
}

// The icon as decoded pixels; a bad icon loses the icon, not the message.
NotificationIcon readIcon(const char* source, const std::string& icon, bool base64, IconSource allowed) {
    std::string why;
    std::optional<std::vector<std::uint8_t>> bytes;
    if (base64) {
        bytes = decodeBase64(icon, maxIconBytes);
        if (!bytes) why = "not base64 of at most 256 KiB";
    } else if (isIconKeyword(icon)) {
        return {};
    } else if (allowed == IconSource::Base64Only) {
        why = "icon files are taken only from UDP datagrams";
    } else if (icon[0] != '/') {
        why = "not an absolute path";
    } else {
        bytes = readIconFile(icon, why);
    }
    std::optional<NotificationIcon> decoded;
    if (bytes) decoded = decodeIconImage(bytes->data(), bytes->size(), why);
    if (decoded) return *decoded;
    logMessage("%s notification: icon left out: %s", source, why.c_str());
    return {};
}

// The fields that XSOverlay's two APIs share; 'typeKey' names the member
// that says "notification" (1).
std::optional<Notification> readXsOverlayFields(const char* source, const nlohmann::json& message,
                                                const char* typeKey, bool typeRequired, IconSource icons,
                                                std::string_view fallbackName) {
    if (!message.is_object()) {
        logMessage("%s message refused: not a JSON object", source);
        return std::nullopt;
    }
    std::string why, title, content, icon, sourceApp;
    double type = typeRequired ? 0 : 1, timeout = xsOverlayDefaultTimeout;
    bool base64Icon = false;
    if (!readNumber(message, typeKey, type, why) || !readString(message, "title", title, why) ||
        !readString(message, "content", content, why) || !readNumber(message, "timeout", timeout, why) ||
        !readBool(message, "useBase64Icon", base64Icon, why) || !readString(message, "icon", icon, why) ||
        !readString(message, "sourceApp", sourceApp, why)) {
        logMessage("%s message refused: %s", source, why.c_str());
        return std::nullopt;
    }
    if (type != 1) {
        logMessage("%s message refused: %s is not 1 (a notification)", source, typeKey);
        return std::nullopt;
    }
    Notification notification;
    notification.source = NotificationSource::XsOverlay;
    notification.sourceName = plainText(sourceApp.empty() ? fallbackName : std::string_view(sourceApp),
                                        maxSourceNameCharacters);
    notification.title = plainTextFromMarkup(title, maxTitleCharacters);
    notification.content = plainTextFromMarkup(content, maxContentCharacters);
    if (notification.title.empty() && notification.content.empty()) {
        logMessage("%s message refused: no title and no content", source);
        return std::nullopt;
    }
    notification.timeoutSeconds = toastTimeoutSeconds(timeout);
    notification.icon = readIcon(source, icon, base64Icon, icons);
    return notification;
}

std::optional<nlohmann::json> parse(const char* source, std::string_view text) {
    std::string why;
    std::optional<nlohmann::json> value = parseSenderJson(text, why);
    if (!value) logMessage("%s message refused: %s", source, why.c_str());
    return value;
}

// The text parsed as a JSON object; otherwise none, with one log line that
// says `notObject` for JSON of another kind.
std::optional<nlohmann::json> parseObject(const char* source, std::string_view text, const char* notObject) {
    std::optional<nlohmann::json> value = parse(source, text);
    if (value && !value->is_object()) {
        logMessage("%s message refused: %s", source, notObject);
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::optional<Notification> readXsOverlayDatagram(std::string_view datagram) {
    const char* source = "XSOverlay UDP";
    const std::optional<nlohmann::json> message = parse(source, datagram);
    if (!message) return std::nullopt;
    return readXsOverlayFields(source, *message, "messageType", true, IconSource::Base64OrFile, "");
}

std::optional<Notification> readXsOverlayWebSocketMessage(std::string_view message, std::string_view clientName) {
    const char* source = "XSOverlay WebSocket";
    const std::optional<nlohmann::json> envelope = parseObject(source, message, "not a JSON object");
    if (!envelope) return std::nullopt;
    std::string why, target = "xsoverlay", command, jsonData;
    if (!readString(*envelope, "target", target, why) || !readString(*envelope, "command", command, why) ||
        !readString(*envelope, "jsonData", jsonData, why)) {
        logMessage("%s message refused: %s", source, why.c_str());
        return std::nullopt;
    }
    // Other commands (SubscribeToEvents, RequestDeviceInformation...) are
    // XSOverlay's own business.
    if (target != "xsoverlay" || command != "SendNotification") return std::nullopt;
    const std::optional<nlohmann::json> fields = parse(source, jsonData);
    if (!fields) return std::nullopt;
    return readXsOverlayFields(source, *fields, "type", false, IconSource::Base64Only, clientName);
}

std::optional<Notification> readOvrToolkitMessage(std::string_view message) {
    const char* source = "OVR Toolkit";
    const std::optional<nlohmann::json> envelope = parseObject(source, message, "not a JSON object");
    if (!envelope) return std::nullopt;
    std::string why, type, json;
    if (!readString(*envelope, "messageType", type, why) || !readString(*envelope, "json", json, why)) {
        logMessage("%s message refused: %s", source, why.c_str());
        return std::nullopt;
    }
    // Keep-alives and the other commands show nothing.
    const bool wrist = type == "SendWristNotification";
    if (type != "SendNotification" && !wrist) return std::nullopt;
    const std::optional<nlohmann::json> fields = parseObject(source, json, "its json is not an object");
    if (!fields) return std::nullopt;
    std::string title, body, icon;
    if (!readString(*fields, "body", body, why) ||
        (!wrist && (!readString(*fields, "title", title, why) || !readString(*fields, "icon", icon, why)))) {
        logMessage("%s message refused: %s", source, why.c_str());
        return std::nullopt;
    }
    Notification notification;
    notification.source = NotificationSource::OvrToolkit;
    notification.title = plainTextFromMarkup(title, maxTitleCharacters);
    notification.content = plainTextFromMarkup(body, maxContentCharacters);
    if (notification.title.empty() && notification.content.empty()) {
        logMessage("%s message refused: no title and no body", source);
        return std::nullopt;
    }
    notification.timeoutSeconds = defaultTimeoutSeconds;
    if (!icon.empty()) notification.icon = readIcon(source, icon, true, IconSource::Base64Only);
    return notification;
}
