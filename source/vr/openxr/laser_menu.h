#pragma once

#include <openxr/openxr.h>

#include <array>
#include <deque>
#include <optional>

#include "vr/openxr/controller_gestures.h"
#include "vr/openxr/laser_geometry.h"
#include "vr/openxr/openxr_session.h"
#include "vr/openxr/quad_image.h"
#include "vr/runtime/vr_runtime.h"

// The menu by controller, as OpenXR has no dashboard: a long press (0.6 s) of
// the menu button of a hand that wears no quad opens it and the same press
// closes it; a haptic pulse confirms. The menu then stands upright 0.8 m
// before the head at eye height, facing it, 0.6 m wide, fixed in the room
// until it closes. That hand's aim pose is the laser: where it meets the menu
// the pointer moves, the trigger (select on the simple controller), with
// hysteresis, is the main button, and the thumbstick's or trackpad's y
// scrolls. A pointer shows where it meets the menu, and a thin ray from the
// hand to it.
class LaserMenu {
public:
    static constexpr float width = 0.6f;

    // What a frame tells of the devices.
    struct Frame {
        XrTime displayTime = 0;
        std::optional<XrPosef> head;
        std::array<std::optional<XrPosef>, handCount> aims;
        std::array<bool, handCount> wearsQuad{};  // a hand that wears a quad opens no menu
    };
    // Once a frame, with the menu's image as last handed over.
    void follow(const OpenXrSession& xr, QuadCopier& copier, const Frame& frame, const QuadImage& image);

    bool isOpen() const { return open.has_value(); }
    // Where it stands while open.
    const XrPosef& pose() const { return open->pose; }
    // The pointer's events, for the program.
    std::deque<PointerEvent> events;

    // A picture of the laser, placed in the stage space.
    struct Part {
        const QuadImage& image;
        XrPosef pose;
        XrExtent2Df size;
    };
    // The pointer and the ray while the laser meets the open menu.
    std::optional<std::array<Part, 2>> laser(const Frame& frame) const;

    void release();

private:
    void openFrom(const OpenXrSession& xr, QuadCopier& copier, int hand, const XrPosef& head);
    void close(const OpenXrSession& xr);
    void followLaser(const OpenXrSession& xr, const Frame& frame, const QuadImage& image);

    // The menu while the controller holds it open.
    struct Open {
        int hand = 0;  // whose laser points at it
        XrPosef pose{{0, 0, 0, 1}, {0, 0, 0}};
        std::optional<QuadHit> hit;  // where the laser meets it this frame
        bool triggerHeld = false;    // the hand's trigger, with hysteresis
        bool buttonDown = false;     // as the program was told
    };
    std::optional<Open> open;
    LongPress presses[handCount];
    XrTime previousDisplayTime = 0;
    QuadImage pointerImage, rayImage;
};
