#include "vr/openxr/controller_gestures.h"

#include <algorithm>
#include <cmath>

bool triggerPressed(bool wasPressed, float value) {
    return wasPressed ? !(value < releaseBelow) : value > pressAbove;
}

bool longPressCompleted(LongPress& press, bool held, std::int64_t now) {
    if (!held) {
        press = LongPress{};
        return false;
    }
    if (!press.held) {
        press.held = true;
        press.heldSince = now;
    }
    if (press.completed || now - press.heldSince < longPressNanoseconds) return false;
    press.completed = true;
    return true;
}

float scrollLines(float y, float seconds) {
    if (!(std::fabs(y) > scrollDeadZone) || !(seconds > 0)) return 0;
    const float tilt = (std::min(std::fabs(y), 1.0f) - scrollDeadZone) / (1 - scrollDeadZone);
    return std::copysign(tilt * linesPerSecond * std::min(seconds, 0.1f), y);
}
