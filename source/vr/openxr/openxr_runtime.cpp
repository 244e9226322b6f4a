// The VrRuntime over an OpenXR overlay session (XR_EXTX_overlay with
// XR_KHR_opengl_enable, the program's GLX context), for Monado and WiVRn.
//
// Implemented:
//  - Devices: 0 is the headset (the view space), 1 and 2 the left and right
//    hands' controllers (their grip poses, /user/hand/left|right); a hand is
//    activated and deactivated as its grip pose becomes valid or not, and its
//    role follows from its index. Poses are located in the stage space (the
//    standing universe) at the frame's predicted display time.
//  - Overlays become quad layers, one swapchain each, the size of the texture
//    last handed over; SetOverlayTexture copies the texture into it, every
//    frame shows the image released last. A device-relative transform puts the
//    quad in that device's space, an absolute one in the stage space; the
//    width gives the quad's size, the texture's shape its height.
//  - SetOverlayAlpha: XR_KHR_composition_layer_color_scale_bias where the
//    runtime offers it, otherwise the copy is drawn again at that alpha.
//  - The frame loop: the first event poll of a main-loop pass ends the
//    previous frame with the layers as they stand and waits for the next
//    (xrWaitFrame), so the runtime paces the loop while its session runs.
//  - Session states: READY begins the session, STOPPING ends it; EXITING,
//    LOSS_PENDING, a lost instance or session or any failing frame call
//    become VREvent_Quit. Each state is logged.
//  - Shutdown ends the session and the instance. A background Init (the
//    program waiting for a runtime) only makes an instance and asks for the
//    headset: no runtime there is VRInitError_Init_NoServerForBackgroundApp.
//  - Init failures are XrResult values (negative, as OpenXR's errors are), so
//    GetVRInitErrorAsSymbol names them: "XR_ERROR_RUNTIME_UNAVAILABLE".
//  - The dashboard, which OpenXR has not: a long press (0.6 s) of the menu
//    button (b on Index and on Touch's right controller) of a hand that does
//    not wear an overlay opens and closes it, told to the program as the
//    dashboard activating and showing its overlay, and the way back; a
//    haptic pulse confirms. The dashboard overlay then stands upright 0.8 m
//    before the head at eye height, facing it, 0.6 m wide, fixed in the room
//    until it closes.
//  - The laser: that hand's aim pose, where it meets the menu, gives mouse
//    moves in OpenVR's convention (fractions from the bottom-left corner);
//    the trigger (select on the simple controller), with hysteresis, the left
//    button; the thumbstick's or trackpad's y smooth scrolling. A pointer
//    shows where it meets the menu, and a thin ray from the hand to it.
// Missing:
//  - The dashboard's other parts: the thumbnail, the dashboard of other
//    programs' overlays, closing the menu by looking away.
//  - Batteries: OpenXR tells of none, so every device answers that it
//    provides no battery status.
//  - Application registry and auto-launch: OpenXR has neither; the program
//    is reported as installed and auto-launched, so nothing is asked.
//  - Untested here: the color-scale path (Monado does not offer the
//    extension) and the pulse itself (Monado's remote controller drops it).
#include "vr/openxr/openxr_runtime.h"

#include <openxr/openxr.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/log.h"
#include "vr/openxr/controller_gestures.h"
#include "vr/openxr/laser_geometry.h"
#include "vr/openxr/laser_pictures.h"
#include "vr/openxr/openxr_names.h"
#include "vr/openxr/openxr_record.h"
#include "vr/openxr/openxr_session.h"
#include "vr/openxr/pose_conversion.h"
#include "vr/openxr/quad_image.h"

namespace {

constexpr TrackedDeviceIndex_t deviceCount = 1 + handCount;
constexpr TrackedDeviceIndex_t firstHand = 1;
constexpr const char* handNames[handCount] = {"left", "right"};

// The menu within reach, rather than at the distance of SteamVR's dashboard.
constexpr float menuDistance = 0.8f, menuWidth = 0.6f;
constexpr float pointerWidth = 0.015f, rayWidth = 0.004f;
// The pointer just before the menu's face, so that it is never behind it.
constexpr float pointerLift = 0.002f;
constexpr XrDuration pulseNanoseconds = 50'000'000;

enum class OverlayKind { Plain, Dashboard, Thumbnail };
enum class Anchor { None, Stage, Device };

struct Overlay {
    std::string key;
    OverlayKind kind = OverlayKind::Plain;
    float widthInMeters = 1;
    float alpha = 1;
    bool shown = false;
    Anchor anchor = Anchor::None;
    TrackedDeviceIndex_t device = k_unTrackedDeviceIndexInvalid;
    XrPosef pose{{0, 0, 0, 1}, {0, 0, 0}};
    QuadImage image;
    std::deque<VREvent_t> events;  // for PollNextOverlayEvent
};

// The menu while the controller holds it open.
struct OpenMenu {
    int hand = 0;  // whose laser points at it
    XrPosef pose{{0, 0, 0, 1}, {0, 0, 0}};
    std::optional<QuadHit> hit;  // where the laser meets it this frame
    bool triggerHeld = false;    // the hand's trigger, with hysteresis
    bool buttonDown = false;     // as the program was told
};

VREvent_t deviceEvent(EVREventType type, TrackedDeviceIndex_t device) {
    VREvent_t event{};
    event.eventType = type;
    event.trackedDeviceIndex = device;
    return event;
}

VREvent_t mouseEvent(EVREventType type, const QuadHit& at) {
    VREvent_t event = deviceEvent(type, k_unTrackedDeviceIndexInvalid);
    event.data.mouse = {at.x, at.y, VRMouseButton_Left};
    return event;
}

class OpenXrRuntime final : public VrRuntime {
public:
    ~OpenXrRuntime() override {
        for (Overlay& overlay : overlays_) destroyQuadImage(overlay.image);
        destroyQuadImage(pointer_);
        destroyQuadImage(ray_);
        destroyQuadCopier(copier_);
        endOpenXrSession(xr_);
    }

    EVRInitError Init(EVRApplicationType type) override {
        // A background check, waiting for the runtime, starts nothing.
        if (type == VRApplication_Background) {
            const XrResult found = findOpenXrSystem();
            if (found == XR_ERROR_RUNTIME_UNAVAILABLE || found == XR_ERROR_RUNTIME_FAILURE ||
                found == XR_ERROR_FORM_FACTOR_UNAVAILABLE || found == XR_ERROR_INSTANCE_LOST)
                return VRInitError_Init_NoServerForBackgroundApp;
            return XR_FAILED(found) ? static_cast<EVRInitError>(found) : VRInitError_None;
        }
        const XrResult result = startOpenXrSession(xr_);
        static_assert(sizeof(XrResult) == sizeof(EVRInitError), "one number for both");
        return XR_FAILED(result) ? static_cast<EVRInitError>(result) : VRInitError_None;
    }
    const char* GetVRInitErrorAsSymbol(EVRInitError error) override {
        return resultName(static_cast<XrResult>(error));
    }
    // The session and the instance end; the program leaves the process
    // after it (or starts anew to wait for the runtime again).
    void Shutdown() override {
        for (Overlay& overlay : overlays_) destroyQuadImage(overlay.image);
        overlays_.clear();
        endOpenXrSession(xr_);
        logMessage("OpenXR session ended");
    }
    void AcknowledgeQuit_Exiting() override {}
    const char* apiName() override { return "OpenXR"; }
    bool pacesMainLoop() override { return running_ && !ended_; }

    bool PollNextEvent(VREvent_t* event, std::uint32_t) override {
        if (!inPass_) {
            inPass_ = true;
            startPass();
        }
        if (events_.empty()) {
            inPass_ = false;
            return false;
        }
        *event = events_.front();
        events_.pop_front();
        return true;
    }

    TrackedDeviceIndex_t GetTrackedDeviceIndexForControllerRole(
        ETrackedControllerRole role) override {
        const int hand = role == TrackedControllerRole_LeftHand    ? 0
                         : role == TrackedControllerRole_RightHand ? 1
                                                                   : -1;
        if (hand < 0 || !active_[firstHand + hand]) return k_unTrackedDeviceIndexInvalid;
        return firstHand + hand;
    }

    const char* GetEventTypeNameFromEnum(EVREventType type) override {
        switch (type) {
            case VREvent_TrackedDeviceActivated:
                return "VREvent_TrackedDeviceActivated";
            case VREvent_TrackedDeviceDeactivated:
                return "VREvent_TrackedDeviceDeactivated";
            case VREvent_Quit:
                return "VREvent_Quit";
            default:
                return "Unknown VREvent";
        }
    }

    bool GetBoolTrackedDeviceProperty(TrackedDeviceIndex_t device, ETrackedDeviceProperty prop,
                                      ETrackedPropertyError* pError) override {
        ETrackedPropertyError error = device >= deviceCount ? TrackedProp_InvalidDevice
                                      : prop == Prop_DeviceProvidesBatteryStatus_Bool
                                          ? TrackedProp_Success
                                          : TrackedProp_UnknownProperty;
        if (pError) *pError = error;
        return false;
    }
    float GetFloatTrackedDeviceProperty(TrackedDeviceIndex_t device, ETrackedDeviceProperty,
                                        ETrackedPropertyError* pError) override {
        if (pError)
            *pError =
                device >= deviceCount ? TrackedProp_InvalidDevice : TrackedProp_UnknownProperty;
        return 0;
    }

    void GetDeviceToAbsoluteTrackingPose(ETrackingUniverseOrigin, float, TrackedDevicePose_t* poses,
                                         std::uint32_t count) override {
        for (std::uint32_t device = 0; device < count; ++device) {
            poses[device] = TrackedDevicePose_t{};
            if (device >= deviceCount) continue;
            poses[device].bDeviceIsConnected = active_[device];
            poses[device].bPoseIsValid = active_[device];
            poses[device].eTrackingResult =
                active_[device] ? TrackingResult_Running_OK : TrackingResult_Uninitialized;
            if (active_[device])
                poses[device].mDeviceToAbsoluteTracking = matrixFromPose(poses_[device]);
        }
    }

    bool IsApplicationInstalled(const char*) override { return true; }
    EVRApplicationError AddApplicationManifest(const char*, bool) override {
        return VRApplicationError_None;
    }
    bool GetApplicationAutoLaunch(const char*) override { return true; }
    EVRApplicationError SetApplicationAutoLaunch(const char*, bool) override {
        return VRApplicationError_None;
    }
    const char* GetApplicationsErrorNameFromEnum(EVRApplicationError error) override {
        return error == VRApplicationError_None ? "VRApplicationError_None" : "VRApplicationError";
    }

    EVROverlayError CreateOverlay(const char* key, const char*,
                                  VROverlayHandle_t* handle) override {
        if (!key) return VROverlayError_InvalidParameter;
        return addOverlay(key, OverlayKind::Plain, handle);
    }
    EVROverlayError CreateDashboardOverlay(const char* key, const char*, VROverlayHandle_t* main,
                                           VROverlayHandle_t* thumbnail) override {
        if (!key || !thumbnail) return VROverlayError_InvalidParameter;
        EVROverlayError error = addOverlay(key, OverlayKind::Dashboard, main);
        if (error != VROverlayError_None) return error;
        // OpenVR gives the thumbnail no key; ours keeps it apart from every other.
        return addOverlay(std::string(key) + ".thumbnail", OverlayKind::Thumbnail, thumbnail);
    }
    EVROverlayError SetOverlayWidthInMeters(VROverlayHandle_t handle, float width) override {
        Overlay* overlay = find(handle);
        if (!overlay) return VROverlayError_UnknownOverlay;
        if (!(width > 0)) return VROverlayError_InvalidParameter;
        overlay->widthInMeters = width;
        return VROverlayError_None;
    }
    EVROverlayError SetOverlayAlpha(VROverlayHandle_t handle, float alpha) override {
        Overlay* overlay = find(handle);
        if (!overlay) return VROverlayError_UnknownOverlay;
        if (!(alpha >= 0 && alpha <= 1)) return VROverlayError_InvalidParameter;
        overlay->alpha = alpha;
        // Without the runtime's colour scale the alpha is in the picture.
        if (!xr_.colorScaleBias && overlay->image.released && overlay->image.alpha != alpha)
            return copy(*overlay, overlay->image.source);
        return VROverlayError_None;
    }
    EVROverlayError SetOverlayFlag(VROverlayHandle_t handle, VROverlayFlags, bool) override {
        return find(handle) ? VROverlayError_None : VROverlayError_UnknownOverlay;
    }
    EVROverlayError SetOverlayInputMethod(VROverlayHandle_t handle, VROverlayInputMethod) override {
        return find(handle) ? VROverlayError_None : VROverlayError_UnknownOverlay;
    }
    EVROverlayError SetOverlayTransformAbsolute(VROverlayHandle_t handle, ETrackingUniverseOrigin,
                                                const HmdMatrix34_t* transform) override {
        Overlay* overlay = find(handle);
        if (!overlay) return VROverlayError_UnknownOverlay;
        if (!transform) return VROverlayError_InvalidParameter;
        overlay->anchor = Anchor::Stage;
        overlay->pose = poseFromMatrix(*transform);
        return VROverlayError_None;
    }
    EVROverlayError SetOverlayTransformTrackedDeviceRelative(
        VROverlayHandle_t handle, TrackedDeviceIndex_t device,
        const HmdMatrix34_t* transform) override {
        Overlay* overlay = find(handle);
        if (!overlay) return VROverlayError_UnknownOverlay;
        if (device >= deviceCount) return VROverlayError_InvalidTrackedDevice;
        if (!transform) return VROverlayError_InvalidParameter;
        overlay->anchor = Anchor::Device;
        overlay->device = device;
        overlay->pose = poseFromMatrix(*transform);
        return VROverlayError_None;
    }
    EVROverlayError ShowOverlay(VROverlayHandle_t handle) override {
        return setShown(handle, true);
    }
    EVROverlayError HideOverlay(VROverlayHandle_t handle) override {
        return setShown(handle, false);
    }
    bool IsOverlayVisible(VROverlayHandle_t handle) override {
        const Overlay* overlay = find(handle);
        return overlay && ((overlay->kind == OverlayKind::Plain && overlay->shown) ||
                           (menu_ && overlay == dashboard()));
    }
    EVROverlayError SetOverlayTexture(VROverlayHandle_t handle, const Texture_t* texture) override {
        Overlay* overlay = find(handle);
        if (!overlay) return VROverlayError_UnknownOverlay;
        if (!texture || texture->eType != TextureType_OpenGL) return VROverlayError_InvalidTexture;
        const auto name = static_cast<GLuint>(reinterpret_cast<std::uintptr_t>(texture->handle));
        // Nothing shows a thumbnail: it is not copied anywhere.
        if (overlay->kind == OverlayKind::Thumbnail) return VROverlayError_None;
        return copy(*overlay, name);
    }
    EVROverlayError GetOverlayTextureSize(VROverlayHandle_t handle, std::uint32_t* width,
                                          std::uint32_t* height) override {
        const Overlay* overlay = find(handle);
        if (!overlay) return VROverlayError_UnknownOverlay;
        if (!width || !height) return VROverlayError_InvalidParameter;
        if (!overlay->image.released) return VROverlayError_InvalidTexture;
        *width = overlay->image.width;
        *height = overlay->image.height;
        return VROverlayError_None;
    }
    bool PollNextOverlayEvent(VROverlayHandle_t handle, VREvent_t* event,
                              std::uint32_t) override {
        Overlay* overlay = find(handle);
        if (!overlay || !event || overlay->events.empty()) return false;
        *event = overlay->events.front();
        overlay->events.pop_front();
        return true;
    }

private:
    Overlay* find(VROverlayHandle_t handle) {
        if (handle == k_ulOverlayHandleInvalid || handle > overlays_.size()) return nullptr;
        return &overlays_[handle - 1];
    }

    EVROverlayError addOverlay(const std::string& key, OverlayKind kind,
                               VROverlayHandle_t* handle) {
        if (!handle) return VROverlayError_InvalidParameter;
        if (std::any_of(overlays_.begin(), overlays_.end(),
                        [&](const Overlay& overlay) { return overlay.key == key; }))
            return VROverlayError_KeyInUse;
        Overlay overlay;
        overlay.key = key;
        overlay.kind = kind;
        overlays_.push_back(overlay);
        *handle = overlays_.size();
        return VROverlayError_None;
    }

    EVROverlayError setShown(VROverlayHandle_t handle, bool shown) {
        Overlay* overlay = find(handle);
        if (!overlay) return VROverlayError_UnknownOverlay;
        overlay->shown = shown;
        return VROverlayError_None;
    }

    EVROverlayError copy(Overlay& overlay, GLuint texture) {
        if (ended_) return VROverlayError_None;
        const float alpha = xr_.colorScaleBias ? 1.0f : overlay.alpha;
        const XrResult result =
            copyIntoQuad(xr_.session, xr_.swapchainFormat, copier_, overlay.image, texture, alpha);
        if (result == XR_SUCCESS) return VROverlayError_None;
        if (result == XR_ERROR_VALIDATION_FAILURE) return VROverlayError_InvalidTexture;
        if (XR_FAILED(result)) end("copying an overlay's image", result);
        return VROverlayError_InvalidTexture;
    }

    // A failure the session cannot go on from ends the program as the
    // runtime's quit request does.
    void end(const char* doing, XrResult result) {
        if (ended_) return;
        logMessage("OpenXR: %s failed with %s", doing, resultName(result));
        quit();
    }
    void quit() {
        if (ended_) return;
        ended_ = true;
        events_.push_back(deviceEvent(VREvent_Quit, k_unTrackedDeviceIndexInvalid));
    }

    void startPass() {
        if (ended_) return;
        if (frameBegun_) endFrame();
        pollRuntimeEvents();
        if (!running_ || ended_) return;
        auto frame = xrRecord<XrFrameState>(XR_TYPE_FRAME_STATE);
        XrResult result = xrWaitFrame(xr_.session, nullptr, &frame);
        if (XR_FAILED(result)) return end("xrWaitFrame", result);
        if (result == XR_SESSION_LOSS_PENDING) return quit();
        result = xrBeginFrame(xr_.session, nullptr);
        if (XR_FAILED(result)) return end("xrBeginFrame", result);
        frameBegun_ = true;
        displayTime_ = frame.predictedDisplayTime;
        shouldRender_ = frame.shouldRender;
        locateDevices();
        if (!ended_) followControllers();
    }

    void pollRuntimeEvents() {
        for (;;) {
            auto buffer = xrRecord<XrEventDataBuffer>(XR_TYPE_EVENT_DATA_BUFFER);
            const XrResult result = xrPollEvent(xr_.instance, &buffer);
            if (XR_FAILED(result)) return end("xrPollEvent", result);
            if (result == XR_EVENT_UNAVAILABLE) return;
            if (buffer.type == XR_TYPE_EVENT_DATA_INSTANCE_LOSS_PENDING) {
                logMessage("OpenXR: the instance is about to be lost");
                return quit();
            }
            if (buffer.type == XR_TYPE_EVENT_DATA_SESSION_STATE_CHANGED) {
                const auto& changed =
                    reinterpret_cast<const XrEventDataSessionStateChanged&>(buffer);
                followSessionState(changed.state);
                if (ended_) return;
            }
        }
    }

    void followSessionState(XrSessionState state) {
        logMessage("OpenXR session: %s", sessionStateName(state));
        switch (state) {
            case XR_SESSION_STATE_READY: {
                auto info = xrRecord<XrSessionBeginInfo>(XR_TYPE_SESSION_BEGIN_INFO);
                info.primaryViewConfigurationType = XR_VIEW_CONFIGURATION_TYPE_PRIMARY_STEREO;
                const XrResult result = xrBeginSession(xr_.session, &info);
                if (XR_FAILED(result)) return end("xrBeginSession", result);
                running_ = true;
                break;
            }
            case XR_SESSION_STATE_STOPPING: {
                running_ = false;
                frameBegun_ = false;
                const XrResult result = xrEndSession(xr_.session);
                if (XR_FAILED(result)) return end("xrEndSession", result);
                break;
            }
            case XR_SESSION_STATE_EXITING:
            case XR_SESSION_STATE_LOSS_PENDING:
                return quit();
            default:
                break;
        }
    }

    // The headset and hands where they will be seen, and the hands that came
    // or went since the last frame.
    void locateDevices() {
        XrActiveActionSet active{xr_.actions, XR_NULL_PATH};
        auto sync = xrRecord<XrActionsSyncInfo>(XR_TYPE_ACTIONS_SYNC_INFO);
        sync.countActiveActionSets = 1;
        sync.activeActionSets = &active;
        const XrResult synced = xrSyncActions(xr_.session, &sync);
        if (XR_FAILED(synced)) return end("xrSyncActions", synced);
        const XrSpace spaces[deviceCount] = {xr_.view, xr_.grips[0], xr_.grips[1]};
        for (TrackedDeviceIndex_t device = 0; device < deviceCount; ++device) {
            auto location = xrRecord<XrSpaceLocation>(XR_TYPE_SPACE_LOCATION);
            const XrResult result =
                xrLocateSpace(spaces[device], xr_.stage, displayTime_, &location);
            if (XR_FAILED(result)) return end("xrLocateSpace", result);
            const XrSpaceLocationFlags valid =
                XR_SPACE_LOCATION_POSITION_VALID_BIT | XR_SPACE_LOCATION_ORIENTATION_VALID_BIT;
            const bool now = (location.locationFlags & valid) == valid;
            if (now) poses_[device] = location.pose;
            if (device >= firstHand && now != active_[device])
                events_.push_back(deviceEvent(
                    now ? VREvent_TrackedDeviceActivated : VREvent_TrackedDeviceDeactivated,
                    device));
            active_[device] = now;
        }
        for (int hand = 0; hand < handCount; ++hand) {
            auto location = xrRecord<XrSpaceLocation>(XR_TYPE_SPACE_LOCATION);
            const XrResult result = xrLocateSpace(xr_.aims[hand], xr_.stage, displayTime_, &location);
            if (XR_FAILED(result)) return end("xrLocateSpace", result);
            const XrSpaceLocationFlags valid =
                XR_SPACE_LOCATION_POSITION_VALID_BIT | XR_SPACE_LOCATION_ORIENTATION_VALID_BIT;
            aims_[hand] = (location.locationFlags & valid) == valid
                              ? std::optional<XrPosef>(location.pose)
                              : std::nullopt;
        }
    }

    // The one dashboard overlay: the menu. None before the program makes it.
    Overlay* dashboard() {
        for (Overlay& overlay : overlays_)
            if (overlay.kind == OverlayKind::Dashboard) return &overlay;
        return nullptr;
    }
    const Overlay* dashboard() const { return const_cast<OpenXrRuntime*>(this)->dashboard(); }

    // The hand an overlay that shows sits on (the watch) is not the menu's.
    bool wearsOverlay(int hand) const {
        return std::any_of(overlays_.begin(), overlays_.end(), [&](const Overlay& overlay) {
            return overlay.kind == OverlayKind::Plain && overlay.shown &&
                   overlay.anchor == Anchor::Device &&
                   overlay.device == firstHand + static_cast<TrackedDeviceIndex_t>(hand);
        });
    }

    XrActionStateGetInfo stateOf(XrAction action, int hand) const {
        auto info = xrRecord<XrActionStateGetInfo>(XR_TYPE_ACTION_STATE_GET_INFO);
        info.action = action;
        info.subactionPath = xr_.hands[hand];
        return info;
    }
    // Controls the runtime cannot read count as untouched.
    bool menuButtonHeld(int hand) const {
        const XrActionStateGetInfo info = stateOf(xr_.menuButton, hand);
        auto state = xrRecord<XrActionStateBoolean>(XR_TYPE_ACTION_STATE_BOOLEAN);
        return XR_SUCCEEDED(xrGetActionStateBoolean(xr_.session, &info, &state)) &&
               state.isActive && state.currentState;
    }
    float selectValue(int hand) const {
        const XrActionStateGetInfo info = stateOf(xr_.select, hand);
        auto state = xrRecord<XrActionStateFloat>(XR_TYPE_ACTION_STATE_FLOAT);
        if (XR_FAILED(xrGetActionStateFloat(xr_.session, &info, &state)) || !state.isActive)
            return 0;
        return state.currentState;
    }
    float scrollValue(int hand) const {
        const XrActionStateGetInfo info = stateOf(xr_.scroll, hand);
        auto state = xrRecord<XrActionStateVector2f>(XR_TYPE_ACTION_STATE_VECTOR2F);
        if (XR_FAILED(xrGetActionStateVector2f(xr_.session, &info, &state)) || !state.isActive)
            return 0;
        return state.currentState.y;
    }

    void pulse(int hand) {
        auto vibration = xrRecord<XrHapticVibration>(XR_TYPE_HAPTIC_VIBRATION);
        vibration.duration = pulseNanoseconds;
        vibration.frequency = XR_FREQUENCY_UNSPECIFIED;
        vibration.amplitude = 0.5f;
        auto info = xrRecord<XrHapticActionInfo>(XR_TYPE_HAPTIC_ACTION_INFO);
        info.action = xr_.haptic;
        info.subactionPath = xr_.hands[hand];
        const XrResult result = xrApplyHapticFeedback(
            xr_.session, &info, reinterpret_cast<const XrHapticBaseHeader*>(&vibration));
        if (XR_FAILED(result)) logMessage("OpenXR: the pulse failed with %s", resultName(result));
    }

    // The long press opens the menu from a hand without the watch, and
    // closes it from the hand that opened it.
    void followControllers() {
        for (int hand = 0; hand < handCount; ++hand) {
            if (!longPressCompleted(presses_[hand], menuButtonHeld(hand), displayTime_)) continue;
            if (!menu_ && !wearsOverlay(hand))
                openMenu(hand);
            else if (menu_ && menu_->hand == hand)
                closeMenu();
        }
        if (menu_) followLaser();
        previousDisplayTime_ = displayTime_;
    }

    void openMenu(int hand) {
        Overlay* menu = dashboard();
        if (!menu || !active_[k_unTrackedDeviceIndex_Hmd]) return;
        menu_ = OpenMenu{};
        menu_->hand = hand;
        menu_->pose = uprightFacing(poses_[k_unTrackedDeviceIndex_Hmd], menuDistance);
        // Pulling the trigger to open it is no click in it.
        menu_->triggerHeld = triggerPressed(false, selectValue(hand));
        events_.push_back(deviceEvent(VREvent_DashboardActivated, k_unTrackedDeviceIndexInvalid));
        // What the menu did not read while it was closed is of no use now.
        menu->events.clear();
        menu->events.push_back(deviceEvent(VREvent_OverlayShown, k_unTrackedDeviceIndexInvalid));
        pulse(hand);
        logMessage("OpenXR: the menu opens from the %s hand", handNames[hand]);
        if (!pointer_.released) {
            const XrResult result =
                drawLaserPictures(xr_.session, xr_.swapchainFormat, copier_, pointer_, ray_);
            if (XR_FAILED(result))
                logMessage("OpenXR: the laser's pictures failed with %s", resultName(result));
        }
    }

    void closeMenu() {
        Overlay* menu = dashboard();
        if (menu_->buttonDown)
            menu->events.push_back(mouseEvent(VREvent_MouseButtonUp, menu_->hit.value_or(QuadHit{})));
        menu->events.push_back(deviceEvent(VREvent_OverlayHidden, k_unTrackedDeviceIndexInvalid));
        events_.push_back(deviceEvent(VREvent_DashboardDeactivated, k_unTrackedDeviceIndexInvalid));
        pulse(menu_->hand);
        logMessage("OpenXR: the menu closes");
        menu_.reset();
    }

    XrExtent2Df menuExtent(const Overlay& menu) const {
        const QuadImage& image = menu.image;
        return {menuWidth, image.width ? menuWidth * image.height / image.width : menuWidth};
    }

    // The laser as the mouse: moves where it meets the menu, the trigger as
    // the left button (released wherever the laser points), the stick's y as
    // scrolling.
    void followLaser() {
        Overlay& menu = *dashboard();
        OpenMenu& open = *menu_;
        const std::optional<QuadHit> was = open.hit;
        open.hit.reset();
        if (aims_[open.hand] && menu.image.released)
            open.hit = rayMeetsQuad(*aims_[open.hand], open.pose, menuExtent(menu));
        if (open.hit && (!was || was->x != open.hit->x || was->y != open.hit->y))
            menu.events.push_back(mouseEvent(VREvent_MouseMove, *open.hit));

        const bool held = triggerPressed(open.triggerHeld, selectValue(open.hand));
        const QuadHit at = open.hit ? *open.hit : was.value_or(QuadHit{});
        if (held && !open.triggerHeld && open.hit) {
            menu.events.push_back(mouseEvent(VREvent_MouseButtonDown, at));
            open.buttonDown = true;
        } else if (!held && open.buttonDown) {
            menu.events.push_back(mouseEvent(VREvent_MouseButtonUp, at));
            open.buttonDown = false;
        }
        open.triggerHeld = held;

        const float seconds = static_cast<float>(displayTime_ - previousDisplayTime_) * 1e-9f;
        const float lines = scrollLines(scrollValue(open.hand), seconds);
        if (open.hit && lines != 0) {
            VREvent_t scroll = deviceEvent(VREvent_ScrollSmooth, k_unTrackedDeviceIndexInvalid);
            scroll.data.scroll = {0, lines, 0, 1};
            menu.events.push_back(scroll);
        }
    }

    // The layers of the overlays that show: a picture, a place, and the
    // device it sits on tracked.
    void endFrame() {
        frameBegun_ = false;
        std::vector<XrCompositionLayerQuad> quads;
        std::vector<XrCompositionLayerColorScaleBiasKHR> scales;
        // Room for every layer: the scales are pointed at.
        quads.reserve(overlays_.size() + 2);
        scales.reserve(overlays_.size());
        const auto addQuad = [&](const QuadImage& image, XrSpace space, const XrPosef& pose,
                                 XrExtent2Df size) -> XrCompositionLayerQuad& {
            auto quad = xrRecord<XrCompositionLayerQuad>(XR_TYPE_COMPOSITION_LAYER_QUAD);
            // Our images hold premultiplied colours on a transparent ground.
            quad.layerFlags = XR_COMPOSITION_LAYER_BLEND_TEXTURE_SOURCE_ALPHA_BIT;
            quad.space = space;
            quad.eyeVisibility = XR_EYE_VISIBILITY_BOTH;
            quad.subImage.swapchain = image.swapchain;
            quad.subImage.imageRect = {
                {0, 0},
                {static_cast<std::int32_t>(image.width), static_cast<std::int32_t>(image.height)}};
            quad.pose = pose;
            quad.size = size;
            quads.push_back(quad);
            return quads.back();
        };
        for (const Overlay& overlay : overlays_) {
            const bool menu = menu_ && overlay.kind == OverlayKind::Dashboard;
            if (!shouldRender_ || !overlay.image.released) continue;
            if (!menu && (overlay.kind != OverlayKind::Plain || !overlay.shown ||
                          overlay.anchor == Anchor::None ||
                          (overlay.anchor == Anchor::Device && !active_[overlay.device])))
                continue;
            const XrSpace space = menu || overlay.anchor == Anchor::Stage ? xr_.stage
                                  : overlay.device == k_unTrackedDeviceIndex_Hmd
                                      ? xr_.view
                                      : xr_.grips[overlay.device - firstHand];
            const float width = menu ? menuWidth : overlay.widthInMeters;
            XrCompositionLayerQuad& quad =
                addQuad(overlay.image, space, menu ? menu_->pose : overlay.pose,
                        {width, width * overlay.image.height / overlay.image.width});
            if (xr_.colorScaleBias) {
                const float a = overlay.alpha;
                scales.push_back({XR_TYPE_COMPOSITION_LAYER_COLOR_SCALE_BIAS_KHR,
                                  nullptr,
                                  {a, a, a, a},
                                  {0, 0, 0, 0}});
                quad.next = &scales.back();
            }
        }
        // The laser, over the menu, while it meets it.
        if (shouldRender_ && menu_ && menu_->hit && pointer_.released && ray_.released &&
            aims_[menu_->hand]) {
            const XrVector3f hit = menu_->hit->point, hand = aims_[menu_->hand]->position;
            const HmdMatrix34_t facing = matrixFromPose(menu_->pose);
            XrPosef pointer = menu_->pose;
            pointer.position = {hit.x + pointerLift * facing.m[0][2],
                                hit.y + pointerLift * facing.m[1][2],
                                hit.z + pointerLift * facing.m[2][2]};
            addQuad(pointer_, xr_.stage, pointer, {pointerWidth, pointerWidth});
            const float length = std::sqrt((hit.x - hand.x) * (hit.x - hand.x) +
                                           (hit.y - hand.y) * (hit.y - hand.y) +
                                           (hit.z - hand.z) * (hit.z - hand.z));
            addQuad(ray_, xr_.stage,
                    stripBetween(hand, hit, poses_[k_unTrackedDeviceIndex_Hmd].position),
                    {rayWidth, length});
        }
        std::vector<const XrCompositionLayerBaseHeader*> layers;
        for (const XrCompositionLayerQuad& quad : quads)
            layers.push_back(reinterpret_cast<const XrCompositionLayerBaseHeader*>(&quad));
        auto info = xrRecord<XrFrameEndInfo>(XR_TYPE_FRAME_END_INFO);
        info.displayTime = displayTime_;
        info.environmentBlendMode = XR_ENVIRONMENT_BLEND_MODE_OPAQUE;
        info.layerCount = static_cast<std::uint32_t>(layers.size());
        info.layers = layers.data();
        const XrResult result = xrEndFrame(xr_.session, &info);
        if (XR_FAILED(result)) end("xrEndFrame", result);
    }

    OpenXrSession xr_;
    QuadCopier copier_;
    std::vector<Overlay> overlays_;  // an overlay's handle is its place, from 1
    std::deque<VREvent_t> events_;
    bool inPass_ = false;
    bool running_ = false;     // between xrBeginSession and xrEndSession
    bool frameBegun_ = false;  // xrBeginFrame came, xrEndFrame is due
    bool ended_ = false;       // quit is queued: no more calls to the runtime
    bool shouldRender_ = false;
    XrTime displayTime_ = 0;
    bool active_[deviceCount] = {};
    XrPosef poses_[deviceCount] = {};
    std::optional<XrPosef> aims_[handCount];
    LongPress presses_[handCount];
    XrTime previousDisplayTime_ = 0;
    std::optional<OpenMenu> menu_;
    QuadImage pointer_, ray_;  // the laser's pictures
};

}  // namespace

std::unique_ptr<VrRuntime> createOpenXrRuntime() { return std::make_unique<OpenXrRuntime>(); }
