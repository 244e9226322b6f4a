#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Where a notification came from; each kind of sender has its own switch.
enum class NotificationSource { Desktop, XsOverlay, OvrToolkit };

// A picture sent with a notification, already decoded and checked: at most
// 512 x 512 pixels, 8-bit RGBA, rows top first. Empty when none came.
struct NotificationIcon {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;
};

// An icon as the sender named it, read and decoded only once its
// notification has passed the flood limits: base64 text, or a file's path
// where the sender may name files. Empty when none was named.
struct IconRequest {
    std::string text;
    bool base64 = false;
    bool fileAllowed = false;
};

enum class NotificationUrgency { NotGiven, Low, Normal, Critical };

// One notification from any sender, as plain text ready to be shown.
struct Notification {
    NotificationSource source = NotificationSource::Desktop;
    // The sending application as it names itself (sourceApp, a WebSocket
    // client's name, the desktop application's name); may be empty.
    std::string sourceName;
    std::string title;    // plain UTF-8, at most maxTitleCharacters
    std::string content;  // plain UTF-8 without markup, at most maxContentCharacters
    NotificationIcon icon;
    IconRequest iconRequest;  // read into 'icon' once it may show; kept to tell equal ones apart
    float timeoutSeconds = 5;  // how long it stays, minTimeoutSeconds to maxTimeoutSeconds
    NotificationUrgency urgency = NotificationUrgency::NotGiven;
};

// What reading one message of a sender gave: the notification, or why
// there is none ("message refused: not a JSON object"), or both when a part
// of it was left out ("image left out: ..."). A message that is no
// notification (a keep-alive, another command) gives neither. The listener
// that read it writes 'why' to the log.
struct ReadNotification {
    std::optional<Notification> notification;
    std::string why;
};

constexpr std::size_t maxTitleCharacters = 128;
constexpr std::size_t maxContentCharacters = 1000;
constexpr std::size_t maxSourceNameCharacters = 64;
constexpr float minTimeoutSeconds = 1;
constexpr float maxTimeoutSeconds = 30;
constexpr float defaultTimeoutSeconds = 5;

// A sender's timeout in seconds as the toast keeps it: values above 1000 are
// milliseconds (some senders send 5000 for five seconds), then clamped to
// 1 to 30 s. Not a number gives the default.
float toastTimeoutSeconds(double senderValue);

// A short name of the kind of sender, for log lines and menus.
const char* notificationSourceName(NotificationSource source);
