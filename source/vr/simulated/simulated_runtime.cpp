// The simulated VR runtime: a headless stand-in for SteamVR inside the
// program's own process, for tests and for running without a headset.
//
// Implemented:
//  - VR_Init for an overlay or a background application, with the init
//    errors of a runtime whose state, scenario or record folder cannot be
//    used, and VR_Shutdown, after which VR_Init begins a new session.
//  - Whether the runtime is running, as SteamVR's server: while the state
//    folder holds "server-stopped" it is not, and a background application's
//    VR_Init answers VRInitError_Init_NoServerForBackgroundApp, while an
//    overlay application's starts it (removes the file). The runtime stops
//    (writes the file) as it hands its application the quit request.
//  - IVRApplications: an application registry kept in "applications.txt" of
//    the state folder, so an installation outlives the process.
//  - IVROverlay: plain and dashboard overlays (with thumbnails) and every
//    property the program sets, shown/hidden events, visibility that follows
//    the dashboard, texture sizes read from the handed GL texture.
//  - IVRSystem: the headset and tracked controllers with roles, poses and
//    battery properties, the answer to the quit request, the system event queue and one queue per overlay,
//    played from a scenario (see scenario.h) keyed to the program's
//    main-loop passes; a pass begins with the first system event poll after
//    the queue was found empty. Mouse positions reach the program as SteamVR
//    on Linux delivers them, from the overlay's bottom-left corner, y up;
//    scenarios give them as a person sees the overlay, from its top-left.
//  - A record for whoever watches: every call in calls.log, and the last image
//    handed to each overlay as a PNG.
// Missing:
//  - Motion (poses jump, velocities are zero), prediction, compositing and
//    rendering: images are read back only to record them and to learn their
//    size.
//  - Every OpenVR call the program does not make.
#include "vr/simulated/simulated_runtime.h"

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <optional>
#include <vector>

#include "platform/file_io.h"
#include "vr/openvr/openvr_runtime.h"
#include "vr/simulated/application_registry.h"
#include "vr/simulated/call_record.h"
#include "vr/simulated/call_text.h"
#include "vr/simulated/scenario.h"
#include "vr/simulated/scenario_player.h"
#include "vr/simulated/simulated_world.h"
#include "vr/simulated/texture_readback.h"

namespace {

unsigned long long number(VROverlayHandle_t handle) { return handle; }

class SimulatedRuntime final : public OpenVrApi {
public:
    explicit SimulatedRuntime(SimulatedRuntimeSetup chosen)
        : setup(std::move(chosen)),
          registry(setup.stateFolder + "/applications.txt") {}

    EVRInitError Init(EVRApplicationType applicationType) override {
        // A second start of the same client finds the session as it is.
        if (!initialised) {
            EVRInitError error = startSession(applicationType);
            if (error != VRInitError_None) {
                logCall(formatted("VR_Init(%d)", applicationType), initErrorName(error));
                return error;
            }
            initialised = true;
        }
        logCall(formatted("VR_Init(%d)", applicationType), initErrorName(VRInitError_None));
        return VRInitError_None;
    }

    // The session's overlays and passes go with it, as the runtime drops a
    // client's overlays when it leaves.
    void Shutdown() override {
        logCall("VR_Shutdown()", "done");
        initialised = false;
        world = SimulatedWorld();
        pass = 0;
        passOver = true;
        lastPoseAnswer.clear();
    }

    const char* GetVRInitErrorAsSymbol(EVRInitError error) override { return initErrorName(error); }

    bool PollNextEvent(VREvent_t* event, std::uint32_t eventSize) override {
        if (passOver) {
            ++pass;
            passOver = false;
            player.beginPass(pass, world);
        }
        const bool delivered = popEvent(&world.systemEvents, "PollNextEvent()", event, eventSize);
        if (delivered && event->eventType == VREvent_Quit) setServerRunning(false);
        return delivered;
    }

    void AcknowledgeQuit_Exiting() override { logCall("AcknowledgeQuit_Exiting()", "done"); }

    TrackedDeviceIndex_t GetTrackedDeviceIndexForControllerRole(
        ETrackedControllerRole role) override {
        TrackedDeviceIndex_t found = world.controllerFor(role);
        logCall(formatted("GetTrackedDeviceIndexForControllerRole(%d)", role),
                formatted("%u", found));
        return found;
    }

    const char* GetEventTypeNameFromEnum(EVREventType type) override {
        return eventTypeName(type);
    }

    bool GetBoolTrackedDeviceProperty(TrackedDeviceIndex_t device, ETrackedDeviceProperty prop,
                                      ETrackedPropertyError* pError) override {
        bool value = false;
        const ETrackedPropertyError error = world.boolProperty(device, prop, value);
        if (pError) *pError = error;
        logCall(formatted("GetBoolTrackedDeviceProperty(%u, %s)", device, trackedPropertyName(prop)),
                formatted("%s, %s", value ? "true" : "false", trackedPropertyErrorName(error)));
        return value;
    }

    float GetFloatTrackedDeviceProperty(TrackedDeviceIndex_t device, ETrackedDeviceProperty prop,
                                        ETrackedPropertyError* pError) override {
        float value = 0.0f;
        const ETrackedPropertyError error = world.floatProperty(device, prop, value);
        if (pError) *pError = error;
        logCall(formatted("GetFloatTrackedDeviceProperty(%u, %s)", device, trackedPropertyName(prop)),
                formatted("%.7g, %s", value, trackedPropertyErrorName(error)));
        return value;
    }

    // Asked in every pass, so only a changed answer is logged.
    void GetDeviceToAbsoluteTrackingPose(ETrackingUniverseOrigin origin,
                                         float predictedSecondsToPhotonsFromNow,
                                         TrackedDevicePose_t* poses, std::uint32_t count) override {
        if (poses) world.readPoses(poses, count);
        const std::string call =
            formatted("GetDeviceToAbsoluteTrackingPose(%d, %.7g, %u)", origin,
                      predictedSecondsToPhotonsFromNow, count) +
            " -> " + describePoses(poses, std::min(count, k_unMaxTrackedDeviceCount));
        if (call == lastPoseAnswer) return;
        lastPoseAnswer = call;
        record.writeCall(pass, call);
    }

    bool IsApplicationInstalled(const char* appKey) override {
        bool installed = appKey && registry.isInstalled(appKey);
        logCall("IsApplicationInstalled(" + quoted(appKey) + ")", installed ? "true" : "false");
        return installed;
    }

    EVRApplicationError AddApplicationManifest(const char* manifestFullPath,
                                               bool temporary) override {
        EVRApplicationError error = manifestFullPath
                                        ? registry.addManifest(manifestFullPath, temporary)
                                        : VRApplicationError_InvalidParameter;
        logCall("AddApplicationManifest(" + quoted(manifestFullPath) +
                    (temporary ? ", true)" : ", false)"),
                applicationErrorName(error));
        return error;
    }

    bool GetApplicationAutoLaunch(const char* appKey) override {
        bool enabled = appKey && registry.autoLaunch(appKey);
        logCall("GetApplicationAutoLaunch(" + quoted(appKey) + ")", enabled ? "true" : "false");
        return enabled;
    }

    EVRApplicationError SetApplicationAutoLaunch(const char* appKey, bool autoLaunch) override {
        EVRApplicationError error = appKey ? registry.setAutoLaunch(appKey, autoLaunch)
                                           : VRApplicationError_InvalidParameter;
        logCall("SetApplicationAutoLaunch(" + quoted(appKey) +
                    (autoLaunch ? ", true)" : ", false)"),
                applicationErrorName(error));
        return error;
    }

    const char* GetApplicationsErrorNameFromEnum(EVRApplicationError error) override {
        return applicationErrorName(error);
    }

    EVROverlayError CreateOverlay(const char* overlayKey, const char* overlayName,
                                  VROverlayHandle_t* overlay) override {
        EVROverlayError error =
            world.addOverlay(overlayKey, overlayName, SimulatedOverlay::Kind::Plain, overlay);
        logCall("CreateOverlay(" + quoted(overlayKey) + ", " + quoted(overlayName) + ")",
                describeCreation(error, overlay));
        return error;
    }

    EVROverlayError CreateDashboardOverlay(const char* overlayKey, const char* overlayName,
                                           VROverlayHandle_t* mainOverlay,
                                           VROverlayHandle_t* thumbnailOverlay) override {
        EVROverlayError error =
            world.addDashboardOverlay(overlayKey, overlayName, mainOverlay, thumbnailOverlay);
        std::string result = describeCreation(error, mainOverlay);
        if (error == VROverlayError_None)
            result += formatted(", thumbnail %llu", number(*thumbnailOverlay));
        logCall("CreateDashboardOverlay(" + quoted(overlayKey) + ", " + quoted(overlayName) + ")",
                result);
        return error;
    }

    EVROverlayError SetOverlayWidthInMeters(VROverlayHandle_t handle, float width) override {
        SimulatedOverlay* overlay = world.find(handle);
        if (overlay) overlay->widthInMeters = width;
        return logOverlayCall(formatted("SetOverlayWidthInMeters(%llu, %.7g)", number(handle), width),
                              overlay);
    }

    // Refuses what OpenVR leaves undefined: an alpha outside 0 to 1.
    EVROverlayError SetOverlayAlpha(VROverlayHandle_t handle, float alpha) override {
        SimulatedOverlay* overlay = world.find(handle);
        EVROverlayError error = !overlay                        ? VROverlayError_UnknownOverlay
                                : alpha >= 0.0f && alpha <= 1.0f ? VROverlayError_None
                                                                 : VROverlayError_InvalidParameter;
        if (error == VROverlayError_None) overlay->alpha = alpha;
        logCall(formatted("SetOverlayAlpha(%llu, %.7g)", number(handle), alpha),
                overlayErrorName(error));
        return error;
    }

    EVROverlayError SetOverlayFlag(VROverlayHandle_t handle, VROverlayFlags flag,
                                   bool enabled) override {
        SimulatedOverlay* overlay = world.find(handle);
        const std::uint32_t bit = static_cast<std::uint32_t>(flag);
        if (overlay) overlay->flags = enabled ? overlay->flags | bit : overlay->flags & ~bit;
        return logOverlayCall(formatted("SetOverlayFlag(%llu, 0x%x, %s)", number(handle),
                                        static_cast<unsigned>(flag), enabled ? "true" : "false"),
                              overlay);
    }

    EVROverlayError SetOverlayInputMethod(VROverlayHandle_t handle,
                                          VROverlayInputMethod method) override {
        SimulatedOverlay* overlay = world.find(handle);
        if (overlay) overlay->inputMethod = method;
        return logOverlayCall(formatted("SetOverlayInputMethod(%llu, %d)", number(handle), method),
                              overlay);
    }

    EVROverlayError SetOverlayTransformAbsolute(VROverlayHandle_t handle,
                                                ETrackingUniverseOrigin origin,
                                                const HmdMatrix34_t* transform) override {
        SimulatedOverlay* overlay = world.find(handle);
        EVROverlayError error = !overlay    ? VROverlayError_UnknownOverlay
                                : transform ? VROverlayError_None
                                            : VROverlayError_InvalidParameter;
        if (error == VROverlayError_None)
            overlay->placement = OverlayPlacement{true, origin, *transform};
        logCall(formatted("SetOverlayTransformAbsolute(%llu, %d, ", number(handle), origin) +
                    describeMatrix(transform) + ")",
                overlayErrorName(error));
        return error;
    }

    EVROverlayError SetOverlayTransformTrackedDeviceRelative(
        VROverlayHandle_t handle, TrackedDeviceIndex_t device,
        const HmdMatrix34_t* transform) override {
        SimulatedOverlay* overlay = world.find(handle);
        EVROverlayError error = !overlay ? VROverlayError_UnknownOverlay
                                : device >= k_unMaxTrackedDeviceCount
                                    ? VROverlayError_InvalidTrackedDevice
                                : transform ? VROverlayError_None
                                            : VROverlayError_InvalidParameter;
        if (error == VROverlayError_None)
            overlay->placement =
                OverlayPlacement{false, static_cast<std::int32_t>(device), *transform};
        logCall(formatted("SetOverlayTransformTrackedDeviceRelative(%llu, %u, ", number(handle),
                          device) +
                    describeMatrix(transform) + ")",
                overlayErrorName(error));
        return error;
    }

    EVROverlayError ShowOverlay(VROverlayHandle_t handle) override {
        return setShown(handle, true, "ShowOverlay");
    }

    EVROverlayError HideOverlay(VROverlayHandle_t handle) override {
        return setShown(handle, false, "HideOverlay");
    }

    // The menu asks in every pass, so only a changed answer is logged.
    bool IsOverlayVisible(VROverlayHandle_t handle) override {
        SimulatedOverlay* overlay = world.find(handle);
        bool visible = overlay && world.isVisible(*overlay);
        if (!overlay || overlay->lastVisibleAnswer != visible) {
            logCall(formatted("IsOverlayVisible(%llu)", number(handle)), visible ? "true" : "false");
            if (overlay) overlay->lastVisibleAnswer = visible;
        }
        return visible;
    }

    EVROverlayError SetOverlayTexture(VROverlayHandle_t handle, const Texture_t* texture) override {
        SimulatedOverlay* overlay = world.find(handle);
        EVROverlayError error = overlay ? takeTexture(*overlay, texture) : VROverlayError_UnknownOverlay;
        std::string described =
            texture ? formatted("{%llu, %d, %d}",
                                static_cast<unsigned long long>(
                                    reinterpret_cast<std::uintptr_t>(texture->handle)),
                                texture->eType, texture->eColorSpace)
                    : "null";
        logCall(formatted("SetOverlayTexture(%llu, ", number(handle)) + described + ")",
                overlayErrorName(error));
        return error;
    }

    EVROverlayError GetOverlayTextureSize(VROverlayHandle_t handle, std::uint32_t* width,
                                          std::uint32_t* height) override {
        SimulatedOverlay* overlay = world.find(handle);
        EVROverlayError error = !overlay                    ? VROverlayError_UnknownOverlay
                                : !width || !height         ? VROverlayError_InvalidParameter
                                : !overlay->textureSize     ? VROverlayError_InvalidTexture
                                                            : VROverlayError_None;
        std::string result = overlayErrorName(error);
        if (error == VROverlayError_None) {
            *width = overlay->textureSize->first;
            *height = overlay->textureSize->second;
            result += formatted(", %u x %u", *width, *height);
        }
        logCall(formatted("GetOverlayTextureSize(%llu)", number(handle)), result);
        return error;
    }

    bool PollNextOverlayEvent(VROverlayHandle_t handle, VREvent_t* event,
                              std::uint32_t eventSize) override {
        SimulatedOverlay* overlay = world.find(handle);
        return popEvent(overlay ? &overlay->events : nullptr,
                        formatted("PollNextOverlayEvent(%llu)", number(handle)), event, eventSize);
    }

private:
    // The record outlives a session, so that it tells of every session of
    // the process; a refused start is recorded when the record can be.
    EVRInitError startSession(EVRApplicationType applicationType) {
        std::error_code ignored;
        std::filesystem::create_directories(setup.stateFolder, ignored);
        if (setup.stateFolder.empty() || !std::filesystem::is_directory(setup.stateFolder, ignored) ||
            access(setup.stateFolder.c_str(), W_OK) != 0) {
            reportSimulatorFault("cannot write the state folder \"" + setup.stateFolder + "\"");
            return VRInitError_Init_PathRegistryNotWritable;
        }
        if (!setup.recordFolder.empty() && !record.isOpen() && !record.open(setup.recordFolder)) {
            reportSimulatorFault("cannot write the record folder \"" + setup.recordFolder + "\"");
            return VRInitError_Init_NoLogPath;
        }
        if (!serverRunning()) {
            if (applicationType == VRApplication_Background) return VRInitError_Init_NoServerForBackgroundApp;
            setServerRunning(true);
        }
        Scenario scenario;
        if (!setup.scenarioPath.empty()) {
            std::optional<std::vector<char>> text = platform::readFileBytes(setup.scenarioPath);
            if (!text) {
                reportSimulatorFault("cannot read the scenario \"" + setup.scenarioPath + "\"");
                return VRInitError_Init_FileNotFound;
            }
            std::string fault;
            if (!parseScenario(std::string_view(text->data(), text->size()), scenario, fault)) {
                reportSimulatorFault("scenario \"" + setup.scenarioPath + "\", " + fault);
                return VRInitError_Init_SettingsInitFailed;
            }
        }
        player = ScenarioPlayer(std::move(scenario), setup.findMenuButton);
        return VRInitError_None;
    }

    std::string serverStoppedFile() const { return setup.stateFolder + "/server-stopped"; }
    bool serverRunning() const {
        std::error_code ignored;
        return !std::filesystem::exists(serverStoppedFile(), ignored);
    }
    void setServerRunning(bool running) {
        if (running) {
            std::error_code ignored;
            std::filesystem::remove(serverStoppedFile(), ignored);
        } else {
            platform::replaceFile(serverStoppedFile(), "");
        }
    }

    void logCall(const std::string& call, const std::string& result) {
        record.writeCall(pass, call + " -> " + result);
    }

    EVROverlayError logOverlayCall(const std::string& call, const SimulatedOverlay* overlay) {
        EVROverlayError error = overlay ? VROverlayError_None : VROverlayError_UnknownOverlay;
        logCall(call, overlayErrorName(error));
        return error;
    }

    static std::string describeCreation(EVROverlayError error, const VROverlayHandle_t* handle) {
        std::string result = overlayErrorName(error);
        if (error == VROverlayError_None) result += formatted(", handle %llu", number(*handle));
        return result;
    }

    EVROverlayError setShown(VROverlayHandle_t handle, bool shown, const char* call) {
        SimulatedOverlay* overlay = world.find(handle);
        if (overlay) world.setShown(*overlay, shown);
        return logOverlayCall(formatted("%s(%llu)", call, number(handle)), overlay);
    }

    EVROverlayError takeTexture(SimulatedOverlay& overlay, const Texture_t* texture) {
        std::optional<TextureImage> image = readTexture(texture, record.isOpen());
        if (!image) return VROverlayError_InvalidTexture;
        overlay.textureSize = {static_cast<std::uint32_t>(image->width),
                               static_cast<std::uint32_t>(image->height)};
        record.writeImage(overlay.key, image->width, image->height,
                          std::move(image->bottomUpRgba));
        return VROverlayError_None;
    }

    // Polls that find nothing are not logged: the loop makes them every millisecond.
    bool popEvent(std::deque<VREvent_t>* queue, const std::string& call, VREvent_t* event,
                  std::uint32_t eventSize) {
        if (!event || eventSize != sizeof(VREvent_t)) {
            logCall(call + formatted(" with an event record of %u bytes", eventSize), "false");
            return false;
        }
        if (!queue || queue->empty()) {
            if (queue == &world.systemEvents) passOver = true;
            return false;
        }
        *event = queue->front();
        queue->pop_front();
        logCall(call, describeEvent(*event));
        return true;
    }

    SimulatedRuntimeSetup setup;
    bool initialised = false;
    ApplicationRegistry registry;
    CallRecord record;
    SimulatedWorld world;
    ScenarioPlayer player;

    std::uint64_t pass = 0;
    bool passOver = true;
    std::string lastPoseAnswer;
};

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

}  // namespace

SimulatedRuntimeSetup simulatedRuntimeSetupFromEnvironment(MenuButtonFinder findMenuButton) {
    SimulatedRuntimeSetup setup;
    setup.stateFolder = environment("HORLOX_SIM_DIR");
    if (setup.stateFolder.empty()) setup.stateFolder = "simulated-vr";
    setup.scenarioPath = environment("HORLOX_SIM_SCENARIO");
    setup.recordFolder = environment("HORLOX_SIM_RECORD");
    setup.findMenuButton = std::move(findMenuButton);
    return setup;
}

std::unique_ptr<OpenVrApi> createSimulatedOpenVr(const SimulatedRuntimeSetup& setup) {
    return std::make_unique<SimulatedRuntime>(setup);
}

std::unique_ptr<VrRuntime> createSimulatedRuntime(const SimulatedRuntimeSetup& setup) {
    return createOpenVrRuntime(createSimulatedOpenVr(setup));
}
