#pragma once

#include <cstdint>

// OpenVR as the OpenVR wing calls it: exactly the calls it makes, under
// OpenVR's names and with OpenVR's numbers, so that the SDK forwarder passes
// each one on unchanged and the simulated runtime can stand in for it.
// Only the values the program passes or looks at are named here; a runtime
// may hand back any other value of OpenVR's enumerations.

using TrackedDeviceIndex_t = std::uint32_t;
using VROverlayHandle_t = std::uint64_t;

constexpr TrackedDeviceIndex_t k_unTrackedDeviceIndex_Hmd = 0;
constexpr TrackedDeviceIndex_t k_unTrackedDeviceIndexInvalid = 0xFFFFFFFF;
constexpr std::uint32_t k_unMaxTrackedDeviceCount = 64;
constexpr VROverlayHandle_t k_ulOverlayHandleInvalid = 0;

// A background application never starts the runtime: without one running,
// its init fails with VRInitError_Init_NoServerForBackgroundApp.
enum EVRApplicationType : std::int32_t { VRApplication_Overlay = 2, VRApplication_Background = 3 };

enum EVRInitError : std::int32_t {
    VRInitError_None = 0,
    VRInitError_Init_InstallationNotFound = 100,
    VRInitError_Init_FileNotFound = 103,
    VRInitError_Init_InterfaceNotFound = 105,
    VRInitError_Init_NoLogPath = 112,
    VRInitError_Init_PathRegistryNotWritable = 113,
    VRInitError_Init_SettingsInitFailed = 118,
    VRInitError_Init_NoServerForBackgroundApp = 121,
};

enum EVRApplicationError : std::int32_t {
    VRApplicationError_None = 0,
    VRApplicationError_UnknownApplication = 104,
    VRApplicationError_IPCFailed = 105,
    VRApplicationError_InvalidManifest = 107,
    VRApplicationError_InvalidApplication = 108,
    VRApplicationError_InvalidParameter = 203,
};

enum EVROverlayError : std::int32_t {
    VROverlayError_None = 0,
    VROverlayError_UnknownOverlay = 10,
    VROverlayError_KeyInUse = 17,
    VROverlayError_InvalidTrackedDevice = 19,
    VROverlayError_InvalidParameter = 20,
    VROverlayError_InvalidTexture = 24,
};

enum EVREventType : std::uint32_t {
    VREvent_None = 0,
    VREvent_TrackedDeviceActivated = 100,
    VREvent_TrackedDeviceDeactivated = 101,
    VREvent_TrackedDeviceRoleChanged = 108,
    VREvent_PropertyChanged = 111,
    VREvent_MouseMove = 300,
    VREvent_MouseButtonDown = 301,
    VREvent_MouseButtonUp = 302,
    VREvent_ScrollDiscrete = 305,
    VREvent_ScrollSmooth = 309,
    VREvent_OverlayShown = 500,
    VREvent_OverlayHidden = 501,
    VREvent_DashboardActivated = 502,
    VREvent_DashboardDeactivated = 503,
    VREvent_Quit = 700,
};

enum ETrackedControllerRole : std::int32_t {
    TrackedControllerRole_Invalid = 0,
    TrackedControllerRole_LeftHand = 1,
    TrackedControllerRole_RightHand = 2,
};

enum ETrackedDeviceProperty : std::int32_t {
    Prop_DeviceIsCharging_Bool = 1011,
    Prop_DeviceBatteryPercentage_Float = 1012,  // 0 is empty, 1 is full
    Prop_DeviceProvidesBatteryStatus_Bool = 1026,
};

enum ETrackedPropertyError : std::int32_t {
    TrackedProp_Success = 0,
    TrackedProp_WrongDataType = 1,
    TrackedProp_UnknownProperty = 4,
    TrackedProp_InvalidDevice = 5,
};

enum EVRMouseButton : std::uint32_t {
    VRMouseButton_Left = 1,
    VRMouseButton_Right = 2,
    VRMouseButton_Middle = 4,
};

enum VROverlayFlags : std::int32_t { VROverlayFlags_MakeOverlaysInteractiveIfVisible = 1 << 16 };
enum VROverlayInputMethod : std::int32_t { VROverlayInputMethod_Mouse = 1 };
enum ETrackingUniverseOrigin : std::int32_t { TrackingUniverseStanding = 1 };
enum ETrackingResult : std::int32_t {
    TrackingResult_Uninitialized = 1,
    TrackingResult_Running_OK = 200,
    TrackingResult_Running_OutOfRange = 201,
};
enum ETextureType : std::int32_t { TextureType_OpenGL = 1 };
enum EColorSpace : std::int32_t { ColorSpace_Auto = 0 };

// Three rows of four; the fourth column is the translation in metres.
struct HmdMatrix34_t {
    float m[3][4];
};

struct HmdVector3_t {
    float v[3];
};

// Where a device is, as the runtime tracks it: the device's own axes (x to
// its right, y up, z backwards) and position in the tracking universe.
struct TrackedDevicePose_t {
    HmdMatrix34_t mDeviceToAbsoluteTracking;
    HmdVector3_t vVelocity;
    HmdVector3_t vAngularVelocity;
    ETrackingResult eTrackingResult;
    bool bPoseIsValid;
    bool bDeviceIsConnected;
};

// For an OpenGL texture the handle holds the texture name; the runtime shows
// the texture's first row at the bottom.
struct Texture_t {
    void* handle;
    ETextureType eType;
    EColorSpace eColorSpace;
};

// Mouse coordinates are fractions of the overlay's width and height from its
// bottom-left corner, y up: "GL space" in OpenVR's words, and what SteamVR on
// Linux delivers.
struct VREvent_Mouse_t {
    float x, y;
    std::uint32_t button;
};

struct VREvent_Scroll_t {
    float xdelta, ydelta;
    std::uint32_t unused;
    float viewportscale;
};

// The container is the device's property container.
struct VREvent_Property_t {
    std::uint64_t container;
    ETrackedDeviceProperty prop;
};

union VREvent_Data_t {
    std::uint64_t reserved[6];
    VREvent_Mouse_t mouse;
    VREvent_Scroll_t scroll;
    VREvent_Property_t property;
};

// OpenVR's event record with its Windows layout: 64 bytes, data at offset 16.
struct VREvent_t {
    std::uint32_t eventType;
    TrackedDeviceIndex_t trackedDeviceIndex;
    float eventAgeSeconds;
    VREvent_Data_t data;
};
static_assert(sizeof(VREvent_t) == 64, "the runtime's event record is 64 bytes");

// One runtime for the whole process. Init comes first; the other calls are
// made only after it succeeded and before Shutdown. The texts returned stay valid for the run.
class OpenVrApi {
public:
    virtual ~OpenVrApi() = default;

    // vr::VR_Init, vr::VR_Shutdown and vr::VR_GetVRInitErrorAsSymbol. After
    // Shutdown, Init may start a new session.
    virtual EVRInitError Init(EVRApplicationType applicationType) = 0;
    virtual void Shutdown() = 0;
    virtual const char* GetVRInitErrorAsSymbol(EVRInitError error) = 0;

    // IVRSystem
    virtual bool PollNextEvent(VREvent_t* event, std::uint32_t eventSize) = 0;
    // The answer to VREvent_Quit, before the program leaves.
    virtual void AcknowledgeQuit_Exiting() = 0;
    virtual TrackedDeviceIndex_t GetTrackedDeviceIndexForControllerRole(
        ETrackedControllerRole role) = 0;
    virtual const char* GetEventTypeNameFromEnum(EVREventType type) = 0;
    virtual bool GetBoolTrackedDeviceProperty(TrackedDeviceIndex_t unDeviceIndex,
                                              ETrackedDeviceProperty prop,
                                              ETrackedPropertyError* pError) = 0;
    virtual float GetFloatTrackedDeviceProperty(TrackedDeviceIndex_t unDeviceIndex,
                                                ETrackedDeviceProperty prop,
                                                ETrackedPropertyError* pError) = 0;
    virtual void GetDeviceToAbsoluteTrackingPose(ETrackingUniverseOrigin origin,
                                                 float predictedSecondsToPhotonsFromNow,
                                                 TrackedDevicePose_t* trackedDevicePoseArray,
                                                 std::uint32_t trackedDevicePoseArrayCount) = 0;

    // IVRApplications
    virtual bool IsApplicationInstalled(const char* appKey) = 0;
    virtual EVRApplicationError AddApplicationManifest(const char* manifestFullPath,
                                                       bool temporary) = 0;
    virtual bool GetApplicationAutoLaunch(const char* appKey) = 0;
    virtual EVRApplicationError SetApplicationAutoLaunch(const char* appKey, bool autoLaunch) = 0;
    virtual const char* GetApplicationsErrorNameFromEnum(EVRApplicationError error) = 0;

    // IVROverlay
    virtual EVROverlayError CreateOverlay(const char* overlayKey, const char* overlayName,
                                          VROverlayHandle_t* overlay) = 0;
    virtual EVROverlayError CreateDashboardOverlay(const char* overlayKey,
                                                   const char* overlayName,
                                                   VROverlayHandle_t* mainOverlay,
                                                   VROverlayHandle_t* thumbnailOverlay) = 0;
    virtual EVROverlayError SetOverlayWidthInMeters(VROverlayHandle_t overlay, float width) = 0;
    virtual EVROverlayError SetOverlayAlpha(VROverlayHandle_t overlay, float alpha) = 0;
    virtual EVROverlayError SetOverlayFlag(VROverlayHandle_t overlay, VROverlayFlags flag,
                                           bool enabled) = 0;
    virtual EVROverlayError SetOverlayInputMethod(VROverlayHandle_t overlay,
                                                  VROverlayInputMethod method) = 0;
    virtual EVROverlayError SetOverlayTransformAbsolute(VROverlayHandle_t overlay,
                                                        ETrackingUniverseOrigin origin,
                                                        const HmdMatrix34_t* transform) = 0;
    virtual EVROverlayError SetOverlayTransformTrackedDeviceRelative(
        VROverlayHandle_t overlay, TrackedDeviceIndex_t device,
        const HmdMatrix34_t* transform) = 0;
    virtual EVROverlayError ShowOverlay(VROverlayHandle_t overlay) = 0;
    virtual EVROverlayError HideOverlay(VROverlayHandle_t overlay) = 0;
    virtual bool IsOverlayVisible(VROverlayHandle_t overlay) = 0;
    virtual EVROverlayError SetOverlayTexture(VROverlayHandle_t overlay,
                                              const Texture_t* texture) = 0;
    virtual EVROverlayError GetOverlayTextureSize(VROverlayHandle_t overlay, std::uint32_t* width,
                                                  std::uint32_t* height) = 0;
    virtual bool PollNextOverlayEvent(VROverlayHandle_t overlay, VREvent_t* event,
                                      std::uint32_t eventSize) = 0;
};
