#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "vr/openvr/openvr_api.h"

// What happens around the program in a simulated VR session, one action a
// line, each keyed to a pass of the program's main loop:
//
//   # a comment; blank lines are skipped
//   <when> <action>
//
//   <when>   N       at the start of pass N (the first pass is 1)
//            S s     at the start of the first pass S seconds or more after
//                    the runtime started, as in "2.5s"
//
//   controller <index> on <left|right|none>   a controller is switched on (1 to 63)
//   controller <index> off                    ... switched off
//   controller <index> role <left|right|none> ... changes hands
//   battery <hmd|index> <charge> [charging]   the headset's or a controller's
//                                             battery reads the charge (0 to 1)
//   battery <hmd|index> none                  ... the device reports no battery
//   controller <index> at <x> <y> <z> [yaw <degrees>] [pitch <degrees>] [roll <degrees>]
//   headset at <x> <y> <z> [yaw ...] [pitch ...] [roll ...]
//                                             the device is tracked at that
//                                             point, in metres (y up, -z
//                                             ahead), turned from upright and
//                                             facing -z: yaw turns it left,
//                                             then pitch raises its front,
//                                             then roll lifts its right side
//   controller <index> lost | headset lost    its tracking is lost until the
//                                             next "at"
//   dashboard open | dashboard close          the dashboard shows or hides
//   mouse move <x> <y>                        laser pointer on the dashboard
//                                             overlay, as fractions of its size
//                                             from its top-left corner, as a
//                                             person sees it
//   mouse down <button> | mouse up <button>   left, right, middle or a number
//   mouse scroll <dx> <dy>                    a wheel step
//   mouse smoothscroll <dx> <dy>              a touch-pad scroll
//   mouse click <label>                       the pointer moves onto the menu
//                                             button with that label, as the
//                                             menu last drew it, and presses
//                                             the left button; the next pass
//                                             releases it. The label is the
//                                             rest of the line, its words
//                                             joined by single blanks. Clicks
//                                             due together follow one another,
//                                             each a pass after the last one's
//                                             release, so that it aims at a
//                                             menu drawn after that click.
//   mouse drag <label> <from> <to>            as a click, but pressed at
//                                             <from> across the control with
//                                             that label (0 its leftmost
//                                             pixel, 1 its rightmost), moved
//                                             to <to> over the next passes,
//                                             then released
//   quit                                      the runtime asks the program to end
//
// Actions that come due at the same pass happen in file order.
struct ScenarioAction {
    enum class Kind {
        ControllerOn, ControllerOff, ControllerRole, Battery,
        Place, Lose,
        DashboardOpen, DashboardClose,
        MouseMove, MouseDown, MouseUp, MouseScroll, MouseSmoothScroll, MouseClick, MouseDrag,
        Quit,
    };

    bool keyedToTime = false;
    std::uint64_t pass = 0;
    double seconds = 0;

    Kind kind = Kind::Quit;
    TrackedDeviceIndex_t device = 0;  // 0 is the headset
    ETrackedControllerRole role = TrackedControllerRole_Invalid;
    HmdMatrix34_t pose{};
    std::uint32_t button = 0;
    float x = 0, y = 0;  // the mouse position, the scroll deltas, a drag's ends, or x the charge
    bool noBattery = false;
    bool charging = false;
    std::string label;   // the menu control a click or drag aims at
};

struct Scenario {
    std::vector<ScenarioAction> actions;
};

// False with a message naming the first faulty line when the text does not
// follow the format; the scenario is then left empty.
bool parseScenario(std::string_view text, Scenario& scenario, std::string& error);
