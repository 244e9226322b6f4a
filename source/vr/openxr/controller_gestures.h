#pragma once

#include <cstdint>

// What the menu makes of the controllers: pure rules over the values the
// runtime reports, one call per frame.

// A trigger or select button read as a value from 0 to 1 (a click reads 0 or
// 1) is pressed once it passes pressAbove and released once it falls below
// releaseBelow, so that a trigger held near one threshold does not chatter.
constexpr float pressAbove = 0.7f, releaseBelow = 0.3f;
bool triggerPressed(bool wasPressed, float value);

// A button held this long, nanoseconds, opens or closes the menu: a short
// press stays the game's.
constexpr std::int64_t longPressNanoseconds = 600'000'000;

struct LongPress {
    bool held = false;
    std::int64_t heldSince = 0;
    bool completed = false;  // this hold already counted
};

// True in the one frame in which the hold reaches the long press's length;
// a hold counts once, however long it lasts. Times in nanoseconds.
bool longPressCompleted(LongPress& press, bool held, std::int64_t now);

// The scroll of one frame, in lines, for a thumbstick or trackpad's y (up
// positive) held for the frame's seconds: none within the dead zone, then
// up to linesPerSecond at full tilt.
constexpr float scrollDeadZone = 0.2f, linesPerSecond = 8.0f;
float scrollLines(float y, float seconds);
