// The OpenVR wing: the VR runtime through OpenVR's calls (openvr_api.h).
//
// Implemented:
//  - The start in OpenVR's documented order: VR_Init as an overlay
//    application; the registration (the manifest "app.manifest" in the working
//    directory, by its absolute path, and auto-launch), each asked before it
//    is set; the watch overlay and its width; the dashboard overlay (the
//    menu), 2 m wide; the watch shown or hidden; the menu 1 m up and 2 m
//    ahead; the watch's controller; the menu's mouse input; the menu and its
//    thumbnail shown, the thumbnail with the program's icon.
//  - A probe as a background application, which never starts the runtime.
//  - Wrist quads as overlays relative to a tracked device; the menu's mouse
//    events, given from the overlay's bottom-left corner, turned to the
//    menu's own top-left fractions.
//  - System events: a device activated or changing roles, deactivated, a
//    property changed, the quit request; every other is passed over.
//  - Batteries from the device properties of the headset and the controllers
//    in either hand; poses from the standing universe.
//  - The watch overlay's own events are logged by name at each pass's end.
//  - Leaving answers the quit request (AcknowledgeQuit_Exiting), then VR_Shutdown.
// Missing:
//  - Pacing: OpenVR overlays have no frames; the loop keeps its own time.
#include "vr/openvr/openvr_runtime.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/log.h"
#include "platform/text_encoding.h"
#include "vr/openvr/openvr_api.h"

namespace {

constexpr char appKey[] = "app.quillmere.horlox";
constexpr char manifestFileName[] = "app.manifest";

std::string line(const char* format, const char* detail) {
    char message[1024];
    std::snprintf(message, sizeof message, format, detail ? detail : "(no name)");
    return message;
}

const std::string notInstalled = "Failed to Init OpenVR: VRInitError_Init_InstallationNotFound";

Texture_t openGlTexture(GLuint name) {
    return Texture_t{reinterpret_cast<void*>(static_cast<std::uintptr_t>(name)), TextureType_OpenGL,
                     ColorSpace_Auto};
}

HmdMatrix34_t matrixOf(const Pose& pose) {
    const PoseMatrix matrix = matrixFromPose(pose);
    HmdMatrix34_t placement;
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 4; ++column) placement.m[row][column] = matrix.m[row][column];
    return placement;
}

std::optional<Pose> poseOf(const TrackedDevicePose_t& tracked) {
    if (!tracked.bPoseIsValid) return std::nullopt;
    PoseMatrix matrix;
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 4; ++column)
            matrix.m[row][column] = tracked.mDeviceToAbsoluteTracking.m[row][column];
    return poseFromMatrix(matrix);
}

class OpenVrQuad final : public WristQuad {
public:
    OpenVrQuad(OpenVrApi& api, VROverlayHandle_t handle, GLuint texture)
        : api(api), handle(handle), texture(openGlTexture(texture)) {}

    void setWidth(float metres) override { api.SetOverlayWidthInMeters(handle, metres); }
    void setImage() override { api.SetOverlayTexture(handle, &texture); }
    bool placeOn(ControllerId controller, const Pose& onController) override {
        const HmdMatrix34_t placement = matrixOf(onController);
        return api.SetOverlayTransformTrackedDeviceRelative(handle, controller, &placement) == VROverlayError_None;
    }
    bool setAlpha(float alpha) override { return api.SetOverlayAlpha(handle, alpha) == VROverlayError_None; }
    void show() override { api.ShowOverlay(handle); }
    void hide() override { api.HideOverlay(handle); }

private:
    OpenVrApi& api;
    const VROverlayHandle_t handle;
    const Texture_t texture;
};

int buttonOf(std::uint32_t button) {
    switch (button) {
        case VRMouseButton_Right: return 1;
        case VRMouseButton_Middle: return 2;
        default: return 0;  // the left, and one the menu does not know
    }
}

class OpenVrMenu final : public MenuSurface {
public:
    OpenVrMenu(OpenVrApi& api, VROverlayHandle_t handle, GLuint texture)
        : api(api), handle(handle), texture(openGlTexture(texture)) {}

    bool isOpen() override { return api.IsOverlayVisible(handle); }
    std::optional<Size> imageSize() override {
        std::uint32_t width = 0, height = 0;
        if (api.GetOverlayTextureSize(handle, &width, &height) != VROverlayError_None || width == 0 || height == 0)
            return std::nullopt;
        return Size{width, height};
    }
    // SteamVR gives the mouse from the overlay's bottom-left corner, y up.
    bool nextPointerEvent(PointerEvent& pointer) override {
        VREvent_t event;
        while (api.PollNextOverlayEvent(handle, &event, sizeof event)) {
            switch (event.eventType) {
                case VREvent_MouseMove:
                    pointer = {PointerEvent::Kind::Move, event.data.mouse.x, 1.0f - event.data.mouse.y};
                    return true;
                case VREvent_MouseButtonDown:
                case VREvent_MouseButtonUp:
                    pointer = {event.eventType == VREvent_MouseButtonDown ? PointerEvent::Kind::Press
                                                                           : PointerEvent::Kind::Release,
                               0, 0, buttonOf(event.data.mouse.button)};
                    return true;
                case VREvent_ScrollDiscrete:
                case VREvent_ScrollSmooth:
                    pointer = {PointerEvent::Kind::Scroll, event.data.scroll.xdelta, event.data.scroll.ydelta};
                    return true;
            }
        }
        return false;
    }
    void setImage() override { api.SetOverlayTexture(handle, &texture); }

private:
    OpenVrApi& api;
    const VROverlayHandle_t handle;
    const Texture_t texture;
};

class OpenVrRuntime final : public VrRuntime {
public:
    explicit OpenVrRuntime(std::unique_ptr<OpenVrApi> api) : api(std::move(api)) {}

    VrProbe probe() override {
        if (!api) return {VrProbe::Answer::Failed, notInstalled};
        const EVRInitError error = api->Init(VRApplication_Background);
        if (error == VRInitError_Init_NoServerForBackgroundApp) return {};
        if (error != VRInitError_None) return {VrProbe::Answer::Failed, initFailure(error)};
        api->Shutdown();
        return {VrProbe::Answer::Running, {}};
    }

    VrStarted start(const VrStart& request) override {
        VrStarted started;
        if (!api) return failed(notInstalled);
        const EVRInitError error = api->Init(VRApplication_Overlay);
        if (error != VRInitError_None) return failed(initFailure(error));
        started.failure = registerApplication();
        if (!started.failure.empty()) return started;

        if (api->CreateOverlay("app.quillmere.horlox.watch", "Horlox", &watchOverlay) != VROverlayError_None)
            return failed("Failed to create watch overlay.");
        started.watch = std::make_unique<OpenVrQuad>(*api, watchOverlay, request.watchTexture);
        started.watch->setWidth(request.watchWidth);
        VROverlayHandle_t menu = k_ulOverlayHandleInvalid, thumbnail = k_ulOverlayHandleInvalid;
        if (api->CreateDashboardOverlay("app.quillmere.horlox.menu", "Horlox Menu", &menu, &thumbnail) !=
            VROverlayError_None)
            return failed("Failed to create menu overlay.");
        api->SetOverlayWidthInMeters(menu, 2.0f);
        if (request.watchShown)
            started.watch->show();
        else
            started.watch->hide();
        // No turn, 1 m up and 2 m ahead.
        const HmdMatrix34_t menuPlacement = {{{1, 0, 0, 0}, {0, 1, 0, 1}, {0, 0, 1, -2}}};
        api->SetOverlayTransformAbsolute(menu, TrackingUniverseStanding, &menuPlacement);
        started.watchController = controllerIn(request.watchHand);
        api->SetOverlayFlag(menu, VROverlayFlags_MakeOverlaysInteractiveIfVisible, true);
        api->SetOverlayInputMethod(menu, VROverlayInputMethod_Mouse);
        api->ShowOverlay(menu);
        if (request.menuIcon) {
            const Texture_t icon = openGlTexture(request.menuIcon);
            api->SetOverlayTexture(thumbnail, &icon);
        }
        api->ShowOverlay(thumbnail);
        started.menu = std::make_unique<OpenVrMenu>(*api, menu, request.menuTexture);
        return started;
    }

    void beginPass() override {}
    void endPass() override { logWatchEvents(); }
    void leave() override {
        api->AcknowledgeQuit_Exiting();
        api->Shutdown();
    }
    bool pacesMainLoop() const override { return false; }

    std::unique_ptr<WristQuad> addWristQuad(const char* id, const char* name, GLuint texture,
                                            float width) override {
        const std::string key = std::string(appKey) + "." + id;
        VROverlayHandle_t handle = k_ulOverlayHandleInvalid;
        if (api->CreateOverlay(key.c_str(), name, &handle) != VROverlayError_None) return nullptr;
        auto quad = std::make_unique<OpenVrQuad>(*api, handle, texture);
        quad->setWidth(width);
        quad->hide();
        return quad;
    }

    bool nextEvent(RuntimeEvent& next) override {
        VREvent_t event;
        while (api->PollNextEvent(&event, sizeof event)) {
            switch (event.eventType) {
                case VREvent_TrackedDeviceActivated:
                case VREvent_TrackedDeviceRoleChanged:
                    next = {RuntimeEvent::Kind::ControllerCame, event.trackedDeviceIndex};
                    return true;
                case VREvent_TrackedDeviceDeactivated:
                    next = {RuntimeEvent::Kind::ControllerGone, event.trackedDeviceIndex};
                    return true;
                case VREvent_PropertyChanged:
                    next = {RuntimeEvent::Kind::DeviceChanged, event.trackedDeviceIndex};
                    return true;
                case VREvent_Quit:
                    next = {RuntimeEvent::Kind::Quit, noController};
                    return true;
            }
        }
        return false;
    }

    ControllerId controllerIn(Hand hand) override {
        return api->GetTrackedDeviceIndexForControllerRole(hand == Hand::Right ? TrackedControllerRole_RightHand
                                                                               : TrackedControllerRole_LeftHand);
    }

    DeviceBatteries readBatteries() override {
        DeviceBatteries batteries;
        batteries.hmd = batteryOf(k_unTrackedDeviceIndex_Hmd);
        batteries.leftHand = batteryOf(controllerIn(Hand::Left));
        batteries.rightHand = batteryOf(controllerIn(Hand::Right));
        return batteries;
    }

    // A runtime that names an impossible device is not asked about it.
    Located locate(ControllerId controller) override {
        if (controller >= k_unMaxTrackedDeviceCount) return {};
        TrackedDevicePose_t poses[k_unMaxTrackedDeviceCount] = {};
        api->GetDeviceToAbsoluteTrackingPose(TrackingUniverseStanding, 0, poses, controller + 1);
        return {poseOf(poses[k_unTrackedDeviceIndex_Hmd]), poseOf(poses[controller])};
    }

private:
    static VrStarted failed(const std::string& why) {
        VrStarted started;
        started.failure = why;
        return started;
    }

    std::string initFailure(EVRInitError error) {
        return line("Failed to Init OpenVR: %s", api->GetVRInitErrorAsSymbol(error));
    }

    // The runtime keeps the registration across its own restarts, so the
    // manifest is named by a path that does not depend on the working
    // directory. Empty when registered.
    std::string registerApplication() {
        if (!api->IsApplicationInstalled(appKey)) {
            std::error_code noDirectory;
            const std::filesystem::path workingDirectory = std::filesystem::current_path(noDirectory);
            if (noDirectory) return "Failed to find the working directory for the application manifest.";
            const std::string manifest = platform::utf8FromPath(workingDirectory / manifestFileName);
            const EVRApplicationError error = api->AddApplicationManifest(manifest.c_str(), false);
            if (error != VRApplicationError_None)
                return line("Failed to set Application manifest: %s", api->GetApplicationsErrorNameFromEnum(error));
        }
        if (!api->GetApplicationAutoLaunch(appKey)) {
            const EVRApplicationError error = api->SetApplicationAutoLaunch(appKey, true);
            if (error != VRApplicationError_None)
                return line("Failed to set Application auto-launch: %s", api->GetApplicationsErrorNameFromEnum(error));
        }
        return {};
    }

    // A device that cannot say stays without a battery.
    BatteryStatus batteryOf(TrackedDeviceIndex_t device) {
        BatteryStatus battery;
        if (device >= k_unMaxTrackedDeviceCount) return battery;
        ETrackedPropertyError error = TrackedProp_Success;
        const bool provides = api->GetBoolTrackedDeviceProperty(device, Prop_DeviceProvidesBatteryStatus_Bool, &error);
        if (error == TrackedProp_InvalidDevice) return battery;
        battery.present = true;
        if (error != TrackedProp_Success || !provides) return battery;
        const float charge = api->GetFloatTrackedDeviceProperty(device, Prop_DeviceBatteryPercentage_Float, &error);
        if (error != TrackedProp_Success || !std::isfinite(charge)) return battery;
        battery.providesBattery = true;
        battery.charge = charge < 0.0f ? 0.0f : charge > 1.0f ? 1.0f : charge;
        const bool charging = api->GetBoolTrackedDeviceProperty(device, Prop_DeviceIsCharging_Bool, &error);
        battery.charging = error == TrackedProp_Success && charging;
        return battery;
    }

    // A runtime or a driver can send them at will: throttled.
    void logWatchEvents() {
        VREvent_t event;
        while (api->PollNextOverlayEvent(watchOverlay, &event, sizeof event)) {
            const char* name = api->GetEventTypeNameFromEnum(static_cast<EVREventType>(event.eventType));
            logThrottled("Watch overlay: %s", name ? name : "an event without a name");
        }
    }

    const std::unique_ptr<OpenVrApi> api;
    VROverlayHandle_t watchOverlay = k_ulOverlayHandleInvalid;
};

}  // namespace

std::unique_ptr<VrRuntime> createOpenVrRuntime(std::unique_ptr<OpenVrApi> api) {
    return std::make_unique<OpenVrRuntime>(std::move(api));
}

std::unique_ptr<VrRuntime> createOpenVrRuntime() { return createOpenVrRuntime(nullptr); }
