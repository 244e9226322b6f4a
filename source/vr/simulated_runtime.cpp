// A headless VR runtime inside the program's own process, for tests and for
// running without a headset. It keeps what a real runtime keeps for one
// client: the installed applications (in a registry file that outlives the
// process), tracked controllers with their roles, the overlays with every
// property the program sets, a system event queue and one queue per overlay.
// A scenario file plays the world around the program (controllers, dashboard,
// laser mouse, clicks on the menu's buttons by label, quit), keyed to
// main-loop passes; a pass begins with the first system event poll after the
// queue was found empty. Mouse positions reach the program as SteamVR on
// Linux delivers them, from the overlay's bottom-left corner, y up, while
// scenarios give them as a person sees the overlay, from its top-left corner.
// It renders nothing and has no notion of poses, headsets or compositing: it
// reads back the images it is handed (from the caller's current GL context)
// only to record them.
#include "vr/simulated_runtime.h"

#include <GL/glew.h>
#include <unistd.h>

#include <chrono>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <map>
#include <optional>
#include <vector>

#include "platform/file_io.h"
#include "platform/debug_output.h"
#include "ui/menu_buttons.h"
#include "vr/application_registry.h"
#include "vr/call_record.h"
#include "vr/openvr_names.h"
#include "vr/scenario.h"

namespace {

std::string formatted(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string formatted(const char* format, ...) {
    char buffer[1024];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(buffer, sizeof buffer, format, arguments);
    va_end(arguments);
    return buffer;
}

// Texts in the log stay on one line whatever bytes they hold.
std::string quoted(const char* text) {
    if (!text) return "null";
    std::string quoted = "\"";
    for (const char* c = text; *c; ++c)
        quoted += static_cast<unsigned char>(*c) < 0x20 ? '?' : *c;
    return quoted + "\"";
}

std::string describeMatrix(const HmdMatrix34_t* matrix) {
    if (!matrix) return "null";
    std::string text = "[";
    for (int row = 0; row < 3; ++row)
        text += formatted("%s%.7g %.7g %.7g %.7g", row ? "; " : "", matrix->m[row][0],
                          matrix->m[row][1], matrix->m[row][2], matrix->m[row][3]);
    return text + "]";
}

std::string describeEvent(const VREvent_t& event) {
    std::string text = formatted("%s, device %u", eventTypeName(event.eventType),
                                 event.trackedDeviceIndex);
    switch (event.eventType) {
        case VREvent_MouseMove:
        case VREvent_MouseButtonDown:
        case VREvent_MouseButtonUp:
            return text + formatted(", mouse %.7g %.7g button %u", event.data.mouse.x,
                                    event.data.mouse.y, event.data.mouse.button);
        case VREvent_ScrollDiscrete:
        case VREvent_ScrollSmooth:
            return text + formatted(", scroll %.7g %.7g", event.data.scroll.xdelta,
                                    event.data.scroll.ydelta);
        default:
            return text;
    }
}

VREvent_t makeEvent(EVREventType type, TrackedDeviceIndex_t device = k_unTrackedDeviceIndexInvalid) {
    VREvent_t event{};
    event.eventType = type;
    event.trackedDeviceIndex = device;
    return event;
}

void report(const std::string& fault) {
    platform::writeDebugOutput(("Simulated VR runtime: " + fault + "\n").c_str());
}

class SimulatedRuntime final : public VrRuntime {
public:
    explicit SimulatedRuntime(SimulatedRuntimeSetup chosen)
        : setup(std::move(chosen)),
          registry((std::filesystem::path(setup.stateFolder) / "applications.txt").string()) {}

    EVRInitError Init(EVRApplicationType applicationType) override {
        // A second start of the same client finds the session as it is.
        if (!initialised) {
            EVRInitError error = startSession();
            if (error != VRInitError_None) return error;
            initialised = true;
        }
        logCall(formatted("VR_Init(%d)", applicationType), initErrorName(VRInitError_None));
        return VRInitError_None;
    }

    const char* GetVRInitErrorAsSymbol(EVRInitError error) override { return initErrorName(error); }

    bool PollNextEvent(VREvent_t* event, std::uint32_t eventSize) override {
        if (passOver) {
            ++pass;
            passOver = false;
            playDueActions();
            advanceClick();
        }
        return popEvent(&systemEvents, "PollNextEvent()", event, eventSize);
    }

    TrackedDeviceIndex_t GetTrackedDeviceIndexForControllerRole(
        ETrackedControllerRole role) override {
        TrackedDeviceIndex_t found = k_unTrackedDeviceIndexInvalid;
        if (role != TrackedControllerRole_Invalid) {
            for (const auto& [device, deviceRole] : controllers) {
                if (deviceRole == role) {
                    found = device;
                    break;
                }
            }
        }
        logCall(formatted("GetTrackedDeviceIndexForControllerRole(%d)", role),
                formatted("%u", found));
        return found;
    }

    const char* GetEventTypeNameFromEnum(EVREventType type) override {
        return eventTypeName(type);
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
        EVROverlayError error = addOverlay(overlayKey, overlayName, Overlay::Kind::Plain, overlay);
        logCall("CreateOverlay(" + quoted(overlayKey) + ", " + quoted(overlayName) + ")",
                describeCreation(error, overlay));
        return error;
    }

    EVROverlayError CreateDashboardOverlay(const char* overlayKey, const char* overlayName,
                                           VROverlayHandle_t* mainOverlay,
                                           VROverlayHandle_t* thumbnailOverlay) override {
        EVROverlayError error = thumbnailOverlay ? addOverlay(overlayKey, overlayName,
                                                              Overlay::Kind::Dashboard, mainOverlay)
                                                 : VROverlayError_InvalidParameter;
        if (error == VROverlayError_None) {
            *thumbnailOverlay = nextHandle++;
            describe(overlays[*thumbnailOverlay], std::string(overlayKey) + ".thumbnail",
                     overlayName, Overlay::Kind::Thumbnail);
            if (dashboardOverlay == k_ulOverlayHandleInvalid) dashboardOverlay = *mainOverlay;
        }
        std::string result = describeCreation(error, mainOverlay);
        if (error == VROverlayError_None) result += formatted(", thumbnail %llu",
                                                              static_cast<unsigned long long>(*thumbnailOverlay));
        logCall("CreateDashboardOverlay(" + quoted(overlayKey) + ", " + quoted(overlayName) + ")",
                result);
        return error;
    }

    EVROverlayError SetOverlayWidthInMeters(VROverlayHandle_t handle, float width) override {
        Overlay* overlay = find(handle);
        if (overlay) overlay->widthInMeters = width;
        return logOverlayCall(formatted("SetOverlayWidthInMeters(%llu, %.7g)", number(handle), width),
                              overlay);
    }

    EVROverlayError SetOverlayFlag(VROverlayHandle_t handle, VROverlayFlags flag,
                                   bool enabled) override {
        Overlay* overlay = find(handle);
        const std::uint32_t bit = static_cast<std::uint32_t>(flag);
        if (overlay) overlay->flags = enabled ? overlay->flags | bit : overlay->flags & ~bit;
        return logOverlayCall(formatted("SetOverlayFlag(%llu, 0x%x, %s)", number(handle),
                                        static_cast<unsigned>(flag), enabled ? "true" : "false"),
                              overlay);
    }

    EVROverlayError SetOverlayInputMethod(VROverlayHandle_t handle,
                                          VROverlayInputMethod method) override {
        Overlay* overlay = find(handle);
        if (overlay) overlay->inputMethod = method;
        return logOverlayCall(formatted("SetOverlayInputMethod(%llu, %d)", number(handle), method),
                              overlay);
    }

    EVROverlayError SetOverlayTransformAbsolute(VROverlayHandle_t handle,
                                                ETrackingUniverseOrigin origin,
                                                const HmdMatrix34_t* transform) override {
        Overlay* overlay = find(handle);
        EVROverlayError error = !overlay    ? VROverlayError_UnknownOverlay
                                : transform ? VROverlayError_None
                                            : VROverlayError_InvalidParameter;
        if (error == VROverlayError_None) overlay->placement = Placement{true, origin, *transform};
        logCall(formatted("SetOverlayTransformAbsolute(%llu, %d, ", number(handle), origin) +
                    describeMatrix(transform) + ")",
                overlayErrorName(error));
        return error;
    }

    EVROverlayError SetOverlayTransformTrackedDeviceRelative(
        VROverlayHandle_t handle, TrackedDeviceIndex_t device,
        const HmdMatrix34_t* transform) override {
        Overlay* overlay = find(handle);
        EVROverlayError error = !overlay ? VROverlayError_UnknownOverlay
                                : device >= k_unMaxTrackedDeviceCount
                                    ? VROverlayError_InvalidTrackedDevice
                                : transform ? VROverlayError_None
                                            : VROverlayError_InvalidParameter;
        if (error == VROverlayError_None)
            overlay->placement = Placement{false, static_cast<std::int32_t>(device), *transform};
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
        Overlay* overlay = find(handle);
        bool visible = overlay && overlay->shown &&
                       (overlay->kind == Overlay::Kind::Plain || dashboardOpen);
        if (!overlay || overlay->lastVisibleAnswer != visible) {
            logCall(formatted("IsOverlayVisible(%llu)", number(handle)), visible ? "true" : "false");
            if (overlay) overlay->lastVisibleAnswer = visible;
        }
        return visible;
    }

    EVROverlayError SetOverlayTexture(VROverlayHandle_t handle, const Texture_t* texture) override {
        Overlay* overlay = find(handle);
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
        Overlay* overlay = find(handle);
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
        Overlay* overlay = find(handle);
        return popEvent(overlay ? &overlay->events : nullptr, formatted("PollNextOverlayEvent(%llu)", number(handle)), event, eventSize);
    }

private:
    struct Placement {
        bool absolute = false;
        std::int32_t originOrDevice = 0;  // tracking universe, or the device it follows
        HmdMatrix34_t transform{};
    };

    struct Overlay {
        enum class Kind { Plain, Dashboard, Thumbnail };
        std::string key;
        std::string name;
        Kind kind = Kind::Plain;
        float widthInMeters = 1.0f;
        std::uint32_t flags = 0;
        std::int32_t inputMethod = 0;
        std::optional<Placement> placement;
        bool shown = false;
        std::optional<bool> lastVisibleAnswer;
        std::optional<std::pair<std::uint32_t, std::uint32_t>> textureSize;
        std::deque<VREvent_t> events;
    };

    static unsigned long long number(VROverlayHandle_t handle) { return handle; }

    EVRInitError startSession() {
        std::error_code ignored;
        std::filesystem::create_directories(setup.stateFolder, ignored);
        if (setup.stateFolder.empty() || !std::filesystem::is_directory(setup.stateFolder, ignored) ||
            access(setup.stateFolder.c_str(), W_OK) != 0) {
            report("cannot write the state folder \"" + setup.stateFolder + "\"");
            return VRInitError_Init_PathRegistryNotWritable;
        }
        if (!setup.recordFolder.empty() && !record.open(setup.recordFolder)) {
            report("cannot write the record folder \"" + setup.recordFolder + "\"");
            return VRInitError_Init_NoLogPath;
        }
        if (!setup.scenarioPath.empty()) {
            std::optional<std::vector<char>> text = platform::readFileBytes(setup.scenarioPath);
            if (!text) {
                report("cannot read the scenario \"" + setup.scenarioPath + "\"");
                return VRInitError_Init_FileNotFound;
            }
            std::string fault;
            if (!parseScenario(std::string_view(text->data(), text->size()), scenario, fault)) {
                report("scenario \"" + setup.scenarioPath + "\", " + fault);
                return VRInitError_Init_SettingsInitFailed;
            }
        }
        unplayed.assign(scenario.actions.size(), true);
        started = std::chrono::steady_clock::now();
        return VRInitError_None;
    }

    void logCall(const std::string& call, const std::string& result) {
        record.writeCall(pass, call + " -> " + result);
    }

    EVROverlayError logOverlayCall(const std::string& call, const Overlay* overlay) {
        EVROverlayError error = overlay ? VROverlayError_None : VROverlayError_UnknownOverlay;
        logCall(call, overlayErrorName(error));
        return error;
    }

    static std::string describeCreation(EVROverlayError error, const VROverlayHandle_t* handle) {
        std::string result = overlayErrorName(error);
        if (error == VROverlayError_None)
            result += formatted(", handle %llu", static_cast<unsigned long long>(*handle));
        return result;
    }

    static void describe(Overlay& overlay, std::string key, std::string name, Overlay::Kind kind) {
        overlay.key = std::move(key);
        overlay.name = std::move(name);
        overlay.kind = kind;
    }

    Overlay* find(VROverlayHandle_t handle) {
        auto found = overlays.find(handle);
        return found == overlays.end() ? nullptr : &found->second;
    }

    EVROverlayError addOverlay(const char* key, const char* name, Overlay::Kind kind,
                               VROverlayHandle_t* handle) {
        if (!key || !name || !handle || !*key) return VROverlayError_InvalidParameter;
        for (const auto& entry : overlays)
            if (entry.second.key == key) return VROverlayError_KeyInUse;
        *handle = nextHandle++;
        describe(overlays[*handle], key, name, kind);
        return VROverlayError_None;
    }

    // A runtime tells an overlay when it appears or disappears.
    EVROverlayError setShown(VROverlayHandle_t handle, bool shown, const char* call) {
        Overlay* overlay = find(handle);
        if (overlay && overlay->shown != shown) {
            overlay->shown = shown;
            overlay->events.push_back(makeEvent(shown ? VREvent_OverlayShown : VREvent_OverlayHidden));
        }
        return logOverlayCall(formatted("%s(%llu)", call, number(handle)), overlay);
    }

    EVROverlayError takeTexture(Overlay& overlay, const Texture_t* texture) {
        if (!texture || texture->eType != TextureType_OpenGL) return VROverlayError_InvalidTexture;
        std::uintptr_t handle = reinterpret_cast<std::uintptr_t>(texture->handle);
        GLuint name = static_cast<GLuint>(handle);
        if (handle != name || !glIsTexture(name)) return VROverlayError_InvalidTexture;

        // The caller's binding is put back: the program relies on its GL state.
        GLint previous = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
        glBindTexture(GL_TEXTURE_2D, name);
        GLint width = 0, height = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        std::vector<unsigned char> pixels;
        if (width > 0 && height > 0 && record.isOpen()) {
            pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
            glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        }
        glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous));
        if (width <= 0 || height <= 0) return VROverlayError_InvalidTexture;

        overlay.textureSize = {static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height)};
        record.writeImage(overlay.key, width, height, std::move(pixels));
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
            if (queue == &systemEvents) passOver = true;
            return false;
        }
        *event = queue->front();
        queue->pop_front();
        logCall(call, describeEvent(*event));
        return true;
    }

    bool isDue(const ScenarioAction& action) const {
        if (!action.keyedToTime) return action.pass <= pass;
        std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started;
        return elapsed.count() >= action.seconds;
    }

    void playDueActions() {
        for (std::size_t i = 0; i < scenario.actions.size(); ++i) {
            if (unplayed[i] && isDue(scenario.actions[i])) {
                unplayed[i] = false;
                play(scenario.actions[i]);
            }
        }
    }

    void play(const ScenarioAction& action) {
        using Kind = ScenarioAction::Kind;
        switch (action.kind) {
            case Kind::ControllerOn:
                controllers[action.device] = action.role;
                systemEvents.push_back(makeEvent(VREvent_TrackedDeviceActivated, action.device));
                break;
            case Kind::ControllerOff:
                controllers.erase(action.device);
                systemEvents.push_back(makeEvent(VREvent_TrackedDeviceDeactivated, action.device));
                break;
            case Kind::ControllerRole:
                if (controllers.count(action.device)) controllers[action.device] = action.role;
                systemEvents.push_back(makeEvent(VREvent_TrackedDeviceRoleChanged, action.device));
                break;
            case Kind::DashboardOpen:
            case Kind::DashboardClose:
                dashboardOpen = action.kind == Kind::DashboardOpen;
                systemEvents.push_back(makeEvent(dashboardOpen ? VREvent_DashboardActivated
                                                               : VREvent_DashboardDeactivated));
                break;
            case Kind::Quit:
                systemEvents.push_back(makeEvent(VREvent_Quit));
                break;
            case Kind::MouseClick:
                clicksWaiting.push_back(action.label);
                break;
            default:
                sendMouse(action);
                break;
        }
    }

    // The laser mouse points at the dashboard overlay, and reaches it only
    // once the overlay takes mouse input.
    Overlay* mouseTarget() {
        Overlay* overlay = find(dashboardOverlay);
        return overlay && overlay->inputMethod == VROverlayInputMethod_Mouse ? overlay : nullptr;
    }

    void sendMouse(const ScenarioAction& action) {
        using Kind = ScenarioAction::Kind;
        Overlay* overlay = mouseTarget();
        if (!overlay) return;
        VREvent_t event = makeEvent(VREvent_MouseMove);
        switch (action.kind) {
            case Kind::MouseMove:
                event.data.mouse = fromTopLeft(action.x, action.y, 0);
                break;
            case Kind::MouseDown:
            case Kind::MouseUp:
                event.eventType = action.kind == Kind::MouseDown ? VREvent_MouseButtonDown
                                                                 : VREvent_MouseButtonUp;
                event.data.mouse = {0, 0, action.button};
                break;
            default:
                event.eventType = action.kind == Kind::MouseScroll ? VREvent_ScrollDiscrete
                                                                   : VREvent_ScrollSmooth;
                event.data.scroll = {action.x, action.y, 0, 1.0f};
                break;
        }
        overlay->events.push_back(event);
    }

    // A click spans two passes, as a hand's does: pressed in one, released in
    // the next, so the menu sees both. Clicks due together take turns, each
    // aimed at a frame drawn after the one before took effect, as a click may
    // change the buttons.
    void advanceClick() {
        Overlay* overlay = mouseTarget();
        if (heldClick) {
            if (overlay) overlay->events.push_back(mouseEvent(VREvent_MouseButtonUp, *heldClick));
            heldClick.reset();
            awaitingFrame = true;
            return;
        }
        if (awaitingFrame) {
            awaitingFrame = false;
            return;
        }
        if (clicksWaiting.empty()) return;
        const std::string label = std::move(clicksWaiting.front());
        clicksWaiting.pop_front();
        if (!overlay) return;
        // The button is aimed at where the menu last drew it, in the image
        // the overlay was last handed.
        const std::optional<ButtonPlace> button = findMenuButton(label);
        if (!button || !overlay->textureSize) {
            report("the menu shows no button \"" + label + "\" to click");
            return;
        }
        heldClick = fromTopLeft(
            (button->left + button->right) / 2 / static_cast<float>(overlay->textureSize->first),
            (button->top + button->bottom) / 2 / static_cast<float>(overlay->textureSize->second),
            VRMouseButton_Left);
        overlay->events.push_back(mouseEvent(VREvent_MouseMove, *heldClick));
        overlay->events.push_back(mouseEvent(VREvent_MouseButtonDown, *heldClick));
    }

    // A point of the scenario, from the top-left, as the runtime delivers it.
    static VREvent_Mouse_t fromTopLeft(float x, float y, std::uint32_t button) {
        return VREvent_Mouse_t{x, 1.0f - y, button};
    }

    static VREvent_t mouseEvent(EVREventType type, const VREvent_Mouse_t& mouse) {
        VREvent_t event = makeEvent(type);
        event.data.mouse = mouse;
        return event;
    }

    SimulatedRuntimeSetup setup;
    bool initialised = false;
    ApplicationRegistry registry;
    CallRecord record;
    Scenario scenario;
    std::vector<bool> unplayed;
    std::chrono::steady_clock::time_point started;

    std::uint64_t pass = 0;
    bool passOver = true;
    std::deque<VREvent_t> systemEvents;
    std::map<TrackedDeviceIndex_t, ETrackedControllerRole> controllers;
    bool dashboardOpen = false;
    std::deque<std::string> clicksWaiting;
    std::optional<VREvent_Mouse_t> heldClick;
    bool awaitingFrame = false;

    std::map<VROverlayHandle_t, Overlay> overlays;
    VROverlayHandle_t nextHandle = 1;
    VROverlayHandle_t dashboardOverlay = k_ulOverlayHandleInvalid;
};

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

}  // namespace

SimulatedRuntimeSetup simulatedRuntimeSetupFromEnvironment() {
    SimulatedRuntimeSetup setup;
    setup.stateFolder = environment("HORLOX_SIM_DIR");
    if (setup.stateFolder.empty()) setup.stateFolder = "simulated-vr";
    setup.scenarioPath = environment("HORLOX_SIM_SCENARIO");
    setup.recordFolder = environment("HORLOX_SIM_RECORD");
    return setup;
}

std::unique_ptr<VrRuntime> createSimulatedRuntime(const SimulatedRuntimeSetup& setup) {
    return std::make_unique<SimulatedRuntime>(setup);
}

std::unique_ptr<VrRuntime> createSimulatedRuntime() {
    return createSimulatedRuntime(simulatedRuntimeSetupFromEnvironment());
}
