// The VrRuntime over the OpenVR SDK: each call goes 1:1 to the SDK through its
// own accessors (vr::VR_Init, vr::VRSystem(), vr::VRApplications(),
// vr::VROverlay()), which check the library's init token before each use.
// It adds no behaviour of its own: no retries, no shutdown, no reply to the
// quit event. The translations are of records: on Linux the SDK packs
// vr::VREvent_t to 60 bytes, so the SDK is asked with its own size and the
// fields the program reads are copied into the 64-byte record; poses are
// copied field by field, as the SDK's record is its own type.
#include "vr/openvr/openvr_runtime.h"

#include <algorithm>
#include <cstring>

#include <openvr.h>

namespace {

vr::HmdMatrix34_t toSdk(const HmdMatrix34_t* transform) {
    vr::HmdMatrix34_t sdk;
    std::memcpy(sdk.m, transform->m, sizeof sdk.m);
    return sdk;
}

void copyEvent(const vr::VREvent_t& sdk, VREvent_t* event) {
    *event = VREvent_t{};
    event->eventType = sdk.eventType;
    event->trackedDeviceIndex = sdk.trackedDeviceIndex;
    event->eventAgeSeconds = sdk.eventAgeSeconds;
    static_assert(sizeof event->data.reserved <= sizeof sdk.data, "event data fits");
    std::memcpy(&event->data, &sdk.data, sizeof event->data.reserved);
}

void copyPose(const vr::TrackedDevicePose_t& sdk, TrackedDevicePose_t* pose) {
    std::memcpy(pose->mDeviceToAbsoluteTracking.m, sdk.mDeviceToAbsoluteTracking.m,
                sizeof pose->mDeviceToAbsoluteTracking.m);
    std::memcpy(pose->vVelocity.v, sdk.vVelocity.v, sizeof pose->vVelocity.v);
    std::memcpy(pose->vAngularVelocity.v, sdk.vAngularVelocity.v, sizeof pose->vAngularVelocity.v);
    pose->eTrackingResult = static_cast<ETrackingResult>(sdk.eTrackingResult);
    pose->bPoseIsValid = sdk.bPoseIsValid;
    pose->bDeviceIsConnected = sdk.bDeviceIsConnected;
}

class OpenVrRuntime final : public VrRuntime {
public:
    EVRInitError Init(EVRApplicationType applicationType) override {
        vr::EVRInitError error = vr::VRInitError_None;
        vr::VR_Init(&error, static_cast<vr::EVRApplicationType>(applicationType));
        return static_cast<EVRInitError>(error);
    }
    const char* GetVRInitErrorAsSymbol(EVRInitError error) override {
        return vr::VR_GetVRInitErrorAsSymbol(static_cast<vr::EVRInitError>(error));
    }

    bool PollNextEvent(VREvent_t* event, std::uint32_t) override {
        vr::VREvent_t sdk;
        if (!vr::VRSystem()->PollNextEvent(&sdk, sizeof sdk)) return false;
        copyEvent(sdk, event);
        return true;
    }
    TrackedDeviceIndex_t GetTrackedDeviceIndexForControllerRole(
        ETrackedControllerRole role) override {
        return vr::VRSystem()->GetTrackedDeviceIndexForControllerRole(
            static_cast<vr::ETrackedControllerRole>(role));
    }
    const char* GetEventTypeNameFromEnum(EVREventType type) override {
        return vr::VRSystem()->GetEventTypeNameFromEnum(static_cast<vr::EVREventType>(type));
    }
    // The SDK takes at most one pose per possible device.
    void GetDeviceToAbsoluteTrackingPose(ETrackingUniverseOrigin origin,
                                         float predictedSecondsToPhotonsFromNow,
                                         TrackedDevicePose_t* poses,
                                         std::uint32_t count) override {
        vr::TrackedDevicePose_t sdk[vr::k_unMaxTrackedDeviceCount];
        const std::uint32_t asked = std::min(count, vr::k_unMaxTrackedDeviceCount);
        vr::VRSystem()->GetDeviceToAbsoluteTrackingPose(
            static_cast<vr::ETrackingUniverseOrigin>(origin), predictedSecondsToPhotonsFromNow,
            sdk, asked);
        for (std::uint32_t i = 0; i < asked; ++i) copyPose(sdk[i], &poses[i]);
    }

    bool IsApplicationInstalled(const char* appKey) override {
        return vr::VRApplications()->IsApplicationInstalled(appKey);
    }
    EVRApplicationError AddApplicationManifest(const char* manifestFullPath,
                                               bool temporary) override {
        return static_cast<EVRApplicationError>(
            vr::VRApplications()->AddApplicationManifest(manifestFullPath, temporary));
    }
    bool GetApplicationAutoLaunch(const char* appKey) override {
        return vr::VRApplications()->GetApplicationAutoLaunch(appKey);
    }
    EVRApplicationError SetApplicationAutoLaunch(const char* appKey, bool autoLaunch) override {
        return static_cast<EVRApplicationError>(
            vr::VRApplications()->SetApplicationAutoLaunch(appKey, autoLaunch));
    }
    const char* GetApplicationsErrorNameFromEnum(EVRApplicationError error) override {
        return vr::VRApplications()->GetApplicationsErrorNameFromEnum(
            static_cast<vr::EVRApplicationError>(error));
    }

    EVROverlayError CreateOverlay(const char* overlayKey, const char* overlayName,
                                  VROverlayHandle_t* overlay) override {
        return static_cast<EVROverlayError>(
            vr::VROverlay()->CreateOverlay(overlayKey, overlayName, overlay));
    }
    EVROverlayError CreateDashboardOverlay(const char* overlayKey, const char* overlayName,
                                           VROverlayHandle_t* mainOverlay,
                                           VROverlayHandle_t* thumbnailOverlay) override {
        return static_cast<EVROverlayError>(vr::VROverlay()->CreateDashboardOverlay(
            overlayKey, overlayName, mainOverlay, thumbnailOverlay));
    }
    EVROverlayError SetOverlayWidthInMeters(VROverlayHandle_t overlay, float width) override {
        return static_cast<EVROverlayError>(
            vr::VROverlay()->SetOverlayWidthInMeters(overlay, width));
    }
    EVROverlayError SetOverlayAlpha(VROverlayHandle_t overlay, float alpha) override {
        return static_cast<EVROverlayError>(vr::VROverlay()->SetOverlayAlpha(overlay, alpha));
    }
    EVROverlayError SetOverlayFlag(VROverlayHandle_t overlay, VROverlayFlags flag,
                                   bool enabled) override {
        return static_cast<EVROverlayError>(vr::VROverlay()->SetOverlayFlag(
            overlay, static_cast<vr::VROverlayFlags>(flag), enabled));
    }
    EVROverlayError SetOverlayInputMethod(VROverlayHandle_t overlay,
                                          VROverlayInputMethod method) override {
        return static_cast<EVROverlayError>(vr::VROverlay()->SetOverlayInputMethod(
            overlay, static_cast<vr::VROverlayInputMethod>(method)));
    }
    EVROverlayError SetOverlayTransformAbsolute(VROverlayHandle_t overlay,
                                                ETrackingUniverseOrigin origin,
                                                const HmdMatrix34_t* transform) override {
        const vr::HmdMatrix34_t sdk = toSdk(transform);
        return static_cast<EVROverlayError>(vr::VROverlay()->SetOverlayTransformAbsolute(
            overlay, static_cast<vr::ETrackingUniverseOrigin>(origin), &sdk));
    }
    EVROverlayError SetOverlayTransformTrackedDeviceRelative(
        VROverlayHandle_t overlay, TrackedDeviceIndex_t device,
        const HmdMatrix34_t* transform) override {
        const vr::HmdMatrix34_t sdk = toSdk(transform);
        return static_cast<EVROverlayError>(
            vr::VROverlay()->SetOverlayTransformTrackedDeviceRelative(overlay, device, &sdk));
    }
    EVROverlayError ShowOverlay(VROverlayHandle_t overlay) override {
        return static_cast<EVROverlayError>(vr::VROverlay()->ShowOverlay(overlay));
    }
    EVROverlayError HideOverlay(VROverlayHandle_t overlay) override {
        return static_cast<EVROverlayError>(vr::VROverlay()->HideOverlay(overlay));
    }
    bool IsOverlayVisible(VROverlayHandle_t overlay) override {
        return vr::VROverlay()->IsOverlayVisible(overlay);
    }
    EVROverlayError SetOverlayTexture(VROverlayHandle_t overlay,
                                      const Texture_t* texture) override {
        const vr::Texture_t sdk{texture->handle, static_cast<vr::ETextureType>(texture->eType),
                                static_cast<vr::EColorSpace>(texture->eColorSpace)};
        return static_cast<EVROverlayError>(vr::VROverlay()->SetOverlayTexture(overlay, &sdk));
    }
    EVROverlayError GetOverlayTextureSize(VROverlayHandle_t overlay, std::uint32_t* width,
                                          std::uint32_t* height) override {
        return static_cast<EVROverlayError>(
            vr::VROverlay()->GetOverlayTextureSize(overlay, width, height));
    }
    bool PollNextOverlayEvent(VROverlayHandle_t overlay, VREvent_t* event,
                              std::uint32_t) override {
        vr::VREvent_t sdk;
        if (!vr::VROverlay()->PollNextOverlayEvent(overlay, &sdk, sizeof sdk)) return false;
        copyEvent(sdk, event);
        return true;
    }
};

}  // namespace

std::unique_ptr<VrRuntime> createOpenVrRuntime() { return std::make_unique<OpenVrRuntime>(); }
