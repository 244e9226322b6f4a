#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "notifications/notification.h"

// What XSOverlay's and OVR Toolkit's senders send, read into notifications.
// Each refusal writes one log line naming the source and the reason; inputs
// that are no notification (other commands, keep-alives) pass without one.

// One datagram of XSOverlay's legacy UDP API, exactly the bytes received.
// Only this source may name an icon file (a path on this machine).
std::optional<Notification> readXsOverlayDatagram(std::string_view datagram);

// One text message of XSOverlay's WebSocket API from the client that named
// itself 'clientName' in its ?client= argument.
std::optional<Notification> readXsOverlayWebSocketMessage(std::string_view message, std::string_view clientName);

// One text message of OVR Toolkit's WebSocket API.
std::optional<Notification> readOvrToolkitMessage(std::string_view message);
