#include "notifications/notification.h"

#include <algorithm>
#include <cmath>

float toastTimeoutSeconds(double senderValue) {
    if (!std::isfinite(senderValue)) return defaultTimeoutSeconds;
    const double seconds = senderValue > 1000 ? senderValue / 1000 : senderValue;
    return static_cast<float>(std::clamp(seconds, double{minTimeoutSeconds}, double{maxTimeoutSeconds}));
}

const char* notificationSourceName(NotificationSource source) {
    switch (source) {
    case NotificationSource::Desktop: return "desktop";
    case NotificationSource::XsOverlay: return "XSOverlay";
    case NotificationSource::OvrToolkit: return "OVR Toolkit";
    }
    return "unknown";
}
