#pragma once

#include <string>
#include <string_view>

#include "notifications/notification.h"

// What XSOverlay's and OVR Toolkit's senders send, read into notifications.
// A refusal says why; inputs that are no notification (other commands,
// keep-alives) give neither notification nor reason. An icon is only named
// in the notification's iconRequest: readNotificationIcon reads it, once
// the notification has passed the flood limits.

// One datagram of XSOverlay's legacy UDP API, exactly the bytes received.
// Only this source may name an icon file (a path on this machine).
ReadNotification readXsOverlayDatagram(std::string_view datagram);

// One text message of XSOverlay's WebSocket API from the client that named
// itself 'clientName' in its ?client= argument.
ReadNotification readXsOverlayWebSocketMessage(std::string_view message, std::string_view clientName);

// One text message of OVR Toolkit's WebSocket API.
ReadNotification readOvrToolkitMessage(std::string_view message);

// Reads and decodes the icon the notification names into its icon. A bad
// icon loses the icon, not the notification: then why, otherwise nothing.
std::string readNotificationIcon(Notification& notification);
