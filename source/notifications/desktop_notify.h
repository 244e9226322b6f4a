#pragma once

#include "notifications/notification.h"

typedef struct sd_bus_message sd_bus_message;

// A desktop notification as org.freedesktop.Notifications.Notify carries it
// (susssasa{sv}i: application, replaced id, icon name, summary, body,
// actions, hints, timeout in ms). The argument types are checked first; the
// body's markup is stripped; the image-data hint (iiibiiay, also image_data
// and icon_data) gives the icon and "urgency" the urgency; icon names and
// paths are not read. Nothing for a transient notification (meant to pass
// unseen); unreadable ones and a bad image say why.
ReadNotification readDesktopNotify(sd_bus_message* message);
