#include "vr/openxr/laser_menu.h"

#include <cmath>

#include "platform/log.h"
#include "vr/openxr/laser_pictures.h"
#include "vr/openxr/openxr_names.h"
#include "vr/openxr/openxr_pose.h"
#include "vr/openxr/openxr_record.h"

namespace {

constexpr const char* handNames[handCount] = {"left", "right"};
// The menu within reach, rather than at the distance of SteamVR's dashboard.
constexpr float menuDistance = 0.8f;
constexpr float pointerWidth = 0.015f, rayWidth = 0.004f;
// The pointer just before the menu's face, so that it is never behind it.
constexpr float pointerLift = 0.002f;
constexpr XrDuration pulseNanoseconds = 50'000'000;

XrActionStateGetInfo stateOf(const OpenXrSession& xr, XrAction action, int hand) {
    auto info = xrRecord<XrActionStateGetInfo>(XR_TYPE_ACTION_STATE_GET_INFO);
    info.action = action;
    info.subactionPath = xr.hands[hand];
    return info;
}

// Controls the runtime cannot read count as untouched.
bool menuButtonHeld(const OpenXrSession& xr, int hand) {
    const XrActionStateGetInfo info = stateOf(xr, xr.menuButton, hand);
    auto state = xrRecord<XrActionStateBoolean>(XR_TYPE_ACTION_STATE_BOOLEAN);
    return XR_SUCCEEDED(xrGetActionStateBoolean(xr.session, &info, &state)) && state.isActive && state.currentState;
}

float selectValue(const OpenXrSession& xr, int hand) {
    const XrActionStateGetInfo info = stateOf(xr, xr.select, hand);
    auto state = xrRecord<XrActionStateFloat>(XR_TYPE_ACTION_STATE_FLOAT);
    if (XR_FAILED(xrGetActionStateFloat(xr.session, &info, &state)) || !state.isActive) return 0;
    return state.currentState;
}

float scrollValue(const OpenXrSession& xr, int hand) {
    const XrActionStateGetInfo info = stateOf(xr, xr.scroll, hand);
    auto state = xrRecord<XrActionStateVector2f>(XR_TYPE_ACTION_STATE_VECTOR2F);
    if (XR_FAILED(xrGetActionStateVector2f(xr.session, &info, &state)) || !state.isActive) return 0;
    return state.currentState.y;
}

void pulse(const OpenXrSession& xr, int hand) {
    auto vibration = xrRecord<XrHapticVibration>(XR_TYPE_HAPTIC_VIBRATION);
    vibration.duration = pulseNanoseconds;
    vibration.frequency = XR_FREQUENCY_UNSPECIFIED;
    vibration.amplitude = 0.5f;
    auto info = xrRecord<XrHapticActionInfo>(XR_TYPE_HAPTIC_ACTION_INFO);
    info.action = xr.haptic;
    info.subactionPath = xr.hands[hand];
    const XrResult result =
        xrApplyHapticFeedback(xr.session, &info, reinterpret_cast<const XrHapticBaseHeader*>(&vibration));
    if (XR_FAILED(result)) logMessage("OpenXR: the pulse failed with %s", resultName(result));
}

}  // namespace

// The long press opens the menu from a hand without a quad, and closes it
// from the hand that opened it.
void LaserMenu::follow(const OpenXrSession& xr, QuadCopier& copier, const Frame& frame, const QuadImage& image) {
    for (int hand = 0; hand < handCount; ++hand) {
        if (!longPressCompleted(presses[hand], menuButtonHeld(xr, hand), frame.displayTime)) continue;
        if (!open && !frame.wearsQuad[hand] && frame.head)
            openFrom(xr, copier, hand, *frame.head);
        else if (open && open->hand == hand)
            close(xr);
    }
    if (open) followLaser(xr, frame, image);
    previousDisplayTime = frame.displayTime;
}

void LaserMenu::openFrom(const OpenXrSession& xr, QuadCopier& copier, int hand, const XrPosef& head) {
    open = Open{};
    open->hand = hand;
    open->pose = uprightFacing(head, menuDistance);
    // Pulling the trigger to open it is no click in it.
    open->triggerHeld = triggerPressed(false, selectValue(xr, hand));
    // What the menu did not read while it was closed is of no use now.
    events.clear();
    pulse(xr, hand);
    logMessage("OpenXR: the menu opens from the %s hand", handNames[hand]);
    if (!pointerImage.released) {
        const XrResult result = drawLaserPictures(xr.session, xr.swapchainFormat, copier, pointerImage, rayImage);
        if (XR_FAILED(result)) logMessage("OpenXR: the laser's pictures failed with %s", resultName(result));
    }
}

void LaserMenu::close(const OpenXrSession& xr) {
    if (open->buttonDown) events.push_back({PointerEvent::Kind::Release});
    pulse(xr, open->hand);
    logMessage("OpenXR: the menu closes");
    open.reset();
}

// The trigger's button is released wherever the laser points.
void LaserMenu::followLaser(const OpenXrSession& xr, const Frame& frame, const QuadImage& image) {
    const std::optional<QuadHit> was = open->hit;
    open->hit.reset();
    const std::optional<XrPosef>& aim = frame.aims[open->hand];
    if (aim && image.released)
        open->hit = rayMeetsQuad(*aim, open->pose, {width, width * image.height / image.width});
    if (open->hit && (!was || was->x != open->hit->x || was->y != open->hit->y))
        events.push_back({PointerEvent::Kind::Move, open->hit->x, open->hit->y});

    const bool held = triggerPressed(open->triggerHeld, selectValue(xr, open->hand));
    if (held && !open->triggerHeld && open->hit) {
        events.push_back({PointerEvent::Kind::Press});
        open->buttonDown = true;
    } else if (!held && open->buttonDown) {
        events.push_back({PointerEvent::Kind::Release});
        open->buttonDown = false;
    }
    open->triggerHeld = held;

    const float seconds = static_cast<float>(frame.displayTime - previousDisplayTime) * 1e-9f;
    const float lines = scrollLines(scrollValue(xr, open->hand), seconds);
    if (open->hit && lines != 0) events.push_back({PointerEvent::Kind::Scroll, 0, lines});
}

std::optional<std::array<LaserMenu::Part, 2>> LaserMenu::laser(const Frame& frame) const {
    if (!open || !open->hit || !pointerImage.released || !rayImage.released || !frame.aims[open->hand] ||
        !frame.head)
        return std::nullopt;
    const XrVector3f hit = open->hit->point, hand = frame.aims[open->hand]->position;
    const Vector3 facing = rotated(poseOf(open->pose).orientation, {0, 0, 1});
    XrPosef pointer = open->pose;
    pointer.position = {hit.x + pointerLift * facing.x, hit.y + pointerLift * facing.y, hit.z + pointerLift * facing.z};
    const float length = std::sqrt((hit.x - hand.x) * (hit.x - hand.x) + (hit.y - hand.y) * (hit.y - hand.y) +
                                   (hit.z - hand.z) * (hit.z - hand.z));
    return std::array<Part, 2>{Part{pointerImage, pointer, {pointerWidth, pointerWidth}},
                               Part{rayImage, stripBetween(hand, hit, frame.head->position), {rayWidth, length}}};
}

void LaserMenu::release() {
    destroyQuadImage(pointerImage);
    destroyQuadImage(rayImage);
    open.reset();
}
