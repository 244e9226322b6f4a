// OpenVR's calls forwarded to the OpenVR SDK's client library.
//
// Implemented:
//  - Every OpenVrApi call, 1:1 onto the SDK through its own accessors
//    (vr::VR_Init, vr::VR_Shutdown, vr::VRSystem(), vr::VRApplications(),
//    vr::VROverlay()), the answer to the quit event included,
//    which check the library's init token before each use; every number
//    openvr_api.h names is checked against the SDK's at compile time.
//  - Init checks IVROverlay and IVRApplications as well: VR_Init makes sure of
//    IVRSystem only, and the other accessors answer null for an interface the
//    runtime lacks. A missing one ends the session as VR_Init would.
//  - The records: on Linux the SDK packs vr::VREvent_t to 60 bytes, so the
//    SDK is asked with its own size and the fields the program reads are
//    copied into the 64-byte record; poses are copied field by field, as the
//    SDK's record is its own type.
// Missing (on purpose: the program does not want them):
//  - Retries and reconnecting: a session that ended is not begun again in the
//    same process (the program waiting for the runtime starts itself anew).
#include "vr/openvr/sdk/openvr_sdk.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include <openvr.h>

namespace {

// Every number openvr_api.h names is the SDK's own.
#define SAME_AS_SDK(name)                                                          \
    static_assert(static_cast<long long>(name) == static_cast<long long>(vr::name), \
                  #name " differs from the OpenVR SDK's")
SAME_AS_SDK(k_unTrackedDeviceIndexInvalid);
SAME_AS_SDK(k_unMaxTrackedDeviceCount);
SAME_AS_SDK(k_ulOverlayHandleInvalid);
SAME_AS_SDK(VRApplication_Overlay);
SAME_AS_SDK(VRApplication_Background);
SAME_AS_SDK(VRInitError_None);
SAME_AS_SDK(VRInitError_Init_InstallationNotFound);
SAME_AS_SDK(VRInitError_Init_FileNotFound);
SAME_AS_SDK(VRInitError_Init_InterfaceNotFound);
SAME_AS_SDK(VRInitError_Init_NoLogPath);
SAME_AS_SDK(VRInitError_Init_PathRegistryNotWritable);
SAME_AS_SDK(VRInitError_Init_SettingsInitFailed);
SAME_AS_SDK(VRInitError_Init_NoServerForBackgroundApp);
SAME_AS_SDK(VRApplicationError_None);
SAME_AS_SDK(VRApplicationError_UnknownApplication);
SAME_AS_SDK(VRApplicationError_IPCFailed);
SAME_AS_SDK(VRApplicationError_InvalidManifest);
SAME_AS_SDK(VRApplicationError_InvalidApplication);
SAME_AS_SDK(VRApplicationError_InvalidParameter);
SAME_AS_SDK(VROverlayError_None);
SAME_AS_SDK(VROverlayError_UnknownOverlay);
SAME_AS_SDK(VROverlayError_KeyInUse);
SAME_AS_SDK(VROverlayError_InvalidTrackedDevice);
SAME_AS_SDK(VROverlayError_InvalidParameter);
SAME_AS_SDK(VROverlayError_InvalidTexture);
SAME_AS_SDK(VREvent_None);
SAME_AS_SDK(VREvent_TrackedDeviceActivated);
SAME_AS_SDK(VREvent_TrackedDeviceDeactivated);
SAME_AS_SDK(VREvent_TrackedDeviceRoleChanged);
SAME_AS_SDK(VREvent_MouseMove);
SAME_AS_SDK(VREvent_MouseButtonDown);
SAME_AS_SDK(VREvent_MouseButtonUp);
SAME_AS_SDK(VREvent_ScrollDiscrete);
SAME_AS_SDK(VREvent_ScrollSmooth);
SAME_AS_SDK(VREvent_OverlayShown);
SAME_AS_SDK(VREvent_OverlayHidden);
SAME_AS_SDK(VREvent_DashboardActivated);
SAME_AS_SDK(VREvent_DashboardDeactivated);
SAME_AS_SDK(VREvent_Quit);
SAME_AS_SDK(TrackedControllerRole_Invalid);
SAME_AS_SDK(TrackedControllerRole_LeftHand);
SAME_AS_SDK(TrackedControllerRole_RightHand);
SAME_AS_SDK(VRMouseButton_Left);
SAME_AS_SDK(VRMouseButton_Right);
SAME_AS_SDK(VRMouseButton_Middle);
SAME_AS_SDK(VROverlayFlags_MakeOverlaysInteractiveIfVisible);
SAME_AS_SDK(VROverlayInputMethod_Mouse);
SAME_AS_SDK(TrackingUniverseStanding);
SAME_AS_SDK(TextureType_OpenGL);
SAME_AS_SDK(ColorSpace_Auto);
#undef SAME_AS_SDK

// The event data is copied as bytes, so its records must match field by field.
static_assert(offsetof(VREvent_Mouse_t, y) == offsetof(vr::VREvent_Mouse_t, y) &&
                  offsetof(VREvent_Mouse_t, button) == offsetof(vr::VREvent_Mouse_t, button),
              "mouse data as the SDK's");
static_assert(offsetof(VREvent_Scroll_t, ydelta) == offsetof(vr::VREvent_Scroll_t, ydelta) &&
                  offsetof(VREvent_Scroll_t, viewportscale) ==
                      offsetof(vr::VREvent_Scroll_t, viewportscale),
              "scroll data as the SDK's");
static_assert(sizeof(HmdMatrix34_t) == sizeof(vr::HmdMatrix34_t), "the matrix as the SDK's");

vr::HmdMatrix34_t toSdk(const HmdMatrix34_t* transform) {
    vr::HmdMatrix34_t sdk;
    std::memcpy(sdk.m, transform->m, sizeof sdk.m);
    return sdk;
}

// Both name the same 32-bit enumeration, so the runtime writes the error
// straight into ours.
static_assert(sizeof(vr::ETrackedPropertyError) == sizeof(ETrackedPropertyError),
              "property errors have one size");

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

class OpenVrSdk final : public OpenVrApi {
public:
    EVRInitError Init(EVRApplicationType applicationType) override {
        vr::EVRInitError error = vr::VRInitError_None;
        vr::VR_Init(&error, static_cast<vr::EVRApplicationType>(applicationType));
        if (error != vr::VRInitError_None) return static_cast<EVRInitError>(error);
        if (!vr::VR_IsInterfaceVersionValid(vr::IVROverlay_Version) ||
            !vr::VR_IsInterfaceVersionValid(vr::IVRApplications_Version)) {
            vr::VR_Shutdown();
            return VRInitError_Init_InterfaceNotFound;
        }
        return VRInitError_None;
    }
    void Shutdown() override { vr::VR_Shutdown(); }
    const char* GetVRInitErrorAsSymbol(EVRInitError error) override {
        return vr::VR_GetVRInitErrorAsSymbol(static_cast<vr::EVRInitError>(error));
    }

    bool PollNextEvent(VREvent_t* event, std::uint32_t) override {
        vr::VREvent_t sdk;
        if (!vr::VRSystem()->PollNextEvent(&sdk, sizeof sdk)) return false;
        copyEvent(sdk, event);
        return true;
    }
    void AcknowledgeQuit_Exiting() override { vr::VRSystem()->AcknowledgeQuit_Exiting(); }
    TrackedDeviceIndex_t GetTrackedDeviceIndexForControllerRole(
        ETrackedControllerRole role) override {
        return vr::VRSystem()->GetTrackedDeviceIndexForControllerRole(
            static_cast<vr::ETrackedControllerRole>(role));
    }
    const char* GetEventTypeNameFromEnum(EVREventType type) override {
        return vr::VRSystem()->GetEventTypeNameFromEnum(static_cast<vr::EVREventType>(type));
    }
    bool GetBoolTrackedDeviceProperty(TrackedDeviceIndex_t unDeviceIndex,
                                      ETrackedDeviceProperty prop,
                                      ETrackedPropertyError* pError) override {
        return vr::VRSystem()->GetBoolTrackedDeviceProperty(
            unDeviceIndex, static_cast<vr::ETrackedDeviceProperty>(prop),
            reinterpret_cast<vr::ETrackedPropertyError*>(pError));
    }
    float GetFloatTrackedDeviceProperty(TrackedDeviceIndex_t unDeviceIndex,
                                        ETrackedDeviceProperty prop,
                                        ETrackedPropertyError* pError) override {
        return vr::VRSystem()->GetFloatTrackedDeviceProperty(
            unDeviceIndex, static_cast<vr::ETrackedDeviceProperty>(prop),
            reinterpret_cast<vr::ETrackedPropertyError*>(pError));
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

std::unique_ptr<OpenVrApi> createOpenVrSdk() { return std::make_unique<OpenVrSdk>(); }
