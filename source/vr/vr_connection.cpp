#include "vr/vr_connection.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "config/settings.h"
#include "platform/file_io.h"
#include "gl/render_target.h"
#include "platform/debug_output.h"
#include "platform/log.h"
#include "platform/text_encoding.h"
#include "vr/device_batteries.h"
#include "vr/watch_overlay.h"
#include "vr/watch_placement.h"
#include "watch/image_texture.h"

namespace {

constexpr char appKey[] = "app.quillmere.horlox";
constexpr char manifestFileName[] = "app.manifest";
constexpr char thumbnailFileName[] = "dashboard_overlay.png";

[[noreturn]] void fatalWithDetail(const char* format, const char* detail) {
    char message[1024];
    std::snprintf(message, sizeof message, format, detail ? detail : "(no name)");
    platform::fatalExit(message);
}

Texture_t openGlTexture(GLuint name) {
    return Texture_t{reinterpret_cast<void*>(static_cast<std::uintptr_t>(name)), TextureType_OpenGL,
                     ColorSpace_Auto};
}

// The runtime keeps the registration across its own restarts, so the
// manifest must be named by a path that does not depend on our working
// directory.
std::string absoluteManifestPath() {
    std::error_code error;
    std::filesystem::path workingDirectory = std::filesystem::current_path(error);
    if (error)
        platform::fatalExit("Failed to find the working directory for the application manifest.");
    return platform::utf8FromPath(workingDirectory / manifestFileName);
}

void registerApplication(VrRuntime& runtime) {
    if (!runtime.IsApplicationInstalled(appKey)) {
        const std::string manifest = absoluteManifestPath();
        EVRApplicationError error = runtime.AddApplicationManifest(manifest.c_str(), false);
        if (error != VRApplicationError_None)
            fatalWithDetail("Failed to set Application manifest: %s",
                            runtime.GetApplicationsErrorNameFromEnum(error));
    }
    if (!runtime.GetApplicationAutoLaunch(appKey)) {
        EVRApplicationError error = runtime.SetApplicationAutoLaunch(appKey, true);
        if (error != VRApplicationError_None)
            fatalWithDetail("Failed to set Application auto-launch: %s",
                            runtime.GetApplicationsErrorNameFromEnum(error));
    }
}

void reverseRows(DecodedImage& image) {
    const std::size_t rowBytes = static_cast<std::size_t>(image.width) * 4;
    unsigned char* pixels = image.pixels.get();
    for (int top = 0, bottom = image.height - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(pixels + top * rowBytes, pixels + (top + 1) * rowBytes,
                         pixels + bottom * rowBytes);
}

// The runtime shows a GL texture's first row at the bottom, which keeps the
// menu and the watch, drawn by OpenGL, upright; a decoded image begins with
// its top row, so the icon goes up with its rows reversed. Without a readable
// image the dashboard tab simply has no icon.
std::optional<GLuint> loadThumbnail() {
    std::optional<std::vector<char>> bytes = platform::readFileBytes(thumbnailFileName);
    if (!bytes) return std::nullopt;
    std::optional<DecodedImage> image =
        decodeImage(reinterpret_cast<const unsigned char*>(bytes->data()), bytes->size());
    if (!image) return std::nullopt;
    reverseRows(*image);
    return uploadDecodedImage(*image);
}

// Named after the runtime's own API: "Failed to Init OpenXR: XR_ERROR_...".
[[noreturn]] void failedInit(VrRuntime* runtime, EVRInitError error) {
    if (!runtime) platform::fatalExit("Failed to Init OpenVR: VRInitError_Init_InstallationNotFound");
    const char* symbol = runtime->GetVRInitErrorAsSymbol(error);
    char message[1024];
    std::snprintf(message, sizeof message, "Failed to Init %s: %s", runtime->apiName(),
                  symbol ? symbol : "(no name)");
    platform::fatalExit(message);
}

}  // namespace

void waitForRuntime(VrRuntime* runtime) {
    if (!runtime) failedInit(runtime, VRInitError_Init_InstallationNotFound);
    logMessage("Waiting for the VR runtime to start.");
    for (;;) {
        const EVRInitError error = runtime->Init(VRApplication_Background);
        if (error == VRInitError_None) break;
        if (error != VRInitError_Init_NoServerForBackgroundApp) failedInit(runtime, error);
        std::this_thread::sleep_for(std::chrono::seconds(2));
    }
    runtime->Shutdown();
}

VrContext startVr(std::unique_ptr<VrRuntime> runtime, const Settings& settings,
                  const RenderTarget& watchTarget, const RenderTarget& menuTarget) {
    if (!runtime) failedInit(nullptr, VRInitError_Init_InstallationNotFound);
    EVRInitError initError = runtime->Init(VRApplication_Overlay);
    if (initError != VRInitError_None) failedInit(runtime.get(), initError);

    VrContext vr;
    vr.runtime = std::move(runtime);
    VrRuntime& runtimeCalls = *vr.runtime;
    registerApplication(runtimeCalls);

    if (runtimeCalls.CreateOverlay("app.quillmere.horlox.watch", "Horlox", &vr.watchOverlay) !=
        VROverlayError_None)
        platform::fatalExit("Failed to create watch overlay.");
    vr.watchFit = settings.placement;
    runtimeCalls.SetOverlayWidthInMeters(vr.watchOverlay, watchWidthInMeters(vr.watchFit));
    if (runtimeCalls.CreateDashboardOverlay("app.quillmere.horlox.menu", "Horlox Menu",
                                            &vr.menuOverlay,
                                            &vr.menuThumbnail) != VROverlayError_None)
        platform::fatalExit("Failed to create menu overlay.");
    runtimeCalls.SetOverlayWidthInMeters(vr.menuOverlay, 2.0f);

    vr.menuTexture = openGlTexture(menuTarget.colorTexture);
    vr.watchTexture = openGlTexture(watchTarget.colorTexture);
    std::optional<GLuint> thumbnail = loadThumbnail();
    if (thumbnail) vr.thumbnailTexture = openGlTexture(*thumbnail);

    // A watch that is off, or waits for a glance, starts hidden.
    if (settings.watchVisibility == WatchVisibility::Always)
        runtimeCalls.ShowOverlay(vr.watchOverlay);
    else
        runtimeCalls.HideOverlay(vr.watchOverlay);
    // No turn, 1 m up and 2 m ahead.
    const HmdMatrix34_t menuPlacement = {{{1, 0, 0, 0}, {0, 1, 0, 1}, {0, 0, 1, -2}}};
    runtimeCalls.SetOverlayTransformAbsolute(vr.menuOverlay, TrackingUniverseStanding,
                                             &menuPlacement);
    resolveWatchDevice(vr, settings);
    runtimeCalls.SetOverlayFlag(vr.menuOverlay, VROverlayFlags_MakeOverlaysInteractiveIfVisible,
                                true);
    runtimeCalls.SetOverlayInputMethod(vr.menuOverlay, VROverlayInputMethod_Mouse);
    runtimeCalls.ShowOverlay(vr.menuOverlay);
    if (thumbnail) runtimeCalls.SetOverlayTexture(vr.menuThumbnail, &vr.thumbnailTexture);
    runtimeCalls.ShowOverlay(vr.menuThumbnail);
    return vr;
}

bool runtimePacesMainLoop(const VrContext& vr) {
    return vr.runtime && vr.runtime->pacesMainLoop();
}

bool pumpSystemEvents(VrContext& vr) {
    VREvent_t event;
    while (vr.runtime->PollNextEvent(&event, sizeof event)) {
        if (changesBatteries(event)) vr.batteriesStale = true;
        switch (event.eventType) {
            case VREvent_TrackedDeviceActivated:
            case VREvent_TrackedDeviceRoleChanged:
                lookUpWatchDevice(vr);
                break;
            case VREvent_TrackedDeviceDeactivated:
                if (event.trackedDeviceIndex == vr.watchDeviceIndex)
                    vr.watchDeviceIndex = k_unTrackedDeviceIndexInvalid;
                break;
            case VREvent_Quit:
                return true;
        }
    }
    return false;
}

void leaveVr(VrContext& vr) {
    vr.runtime->AcknowledgeQuit_Exiting();
    vr.runtime->Shutdown();
}
