#pragma once

#include <chrono>
#include <optional>

// How long the main loop may wait before its next pass, so that a program
// nobody looks at costs next to no CPU while everything that can change what
// is shown still comes in time. Sockets and window events wake it sooner.
using LoopClock = std::chrono::steady_clock;

// What the pass found, for the wait after it.
struct LoopState {
    bool offline = false;
    // The runtime's frame loop paces the passes itself (OpenXR's xrWaitFrame).
    bool runtimePaces = false;
    bool menuShown = false;
    // When the menu last had input; none since the dashboard showed it.
    std::optional<LoopClock::time_point> lastMenuInput;
    // The watch shows only when looked at and its controller is known, so
    // the poses must be read for the glance.
    bool watchingForGlance = false;
    bool glanceFading = false;
    // A toast fading in or out; when the shown one next changes otherwise.
    bool toastFading = false;
    std::optional<LoopClock::time_point> nextToastChange;
    // When the watch's next second begins, while its image is needed.
    std::optional<LoopClock::time_point> nextSecond;
    // When the batteries are read again, in VR.
    std::optional<LoopClock::time_point> nextBatteryReading;
};

// Passes come at about the display's pace while something moves (a fade)
// and, as they always did, for the 0.5 s after the menu's last input, so that
// clicks and drags feel the same.
constexpr std::chrono::milliseconds movingStep{16};
constexpr std::chrono::milliseconds menuInUseFor{500};
// A runtime that cannot wake us (OpenVR has nothing to wait on) is asked
// this often for its events, the dashboard's opening and an open menu's
// first input; the input after that comes at the moving pace.
constexpr std::chrono::milliseconds runtimePollPeriod{100};
// Poses are read this often while waiting for a glance.
constexpr std::chrono::milliseconds glancePollPeriod{33};

// The wait after a pass that ended at `now`: the time to the nearest thing
// due, never more than the runtime's polling period in VR.
LoopClock::duration loopWait(const LoopState& state, LoopClock::time_point now);
