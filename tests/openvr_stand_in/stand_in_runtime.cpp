// A VR runtime of our own behind the real OpenVR client library, for tests:
// the library finds it through VR_OVERRIDE at <runtime>/bin/linux64/vrclient.so.
// It serves IVRClientCore_003 and enough of IVRSystem_021, IVROverlay_022 and
// IVRApplications_007 for one short session with SteamVR's conventions on
// Linux: mouse positions from the bottom-left corner, GL textures shown first
// row at the bottom, event records packed to 60 bytes. One step a main-loop
// pass: 1 a controller, device 1, comes on in the left hand; 2 the dashboard
// opens; 3 the pointer presses at HORLOX_STAND_IN_CLICK ("x y", fractions from
// the top-left as a person sees it), 4 releases; 6 the runtime asks to quit.
// HORLOX_STAND_IN_DIR receives calls.log and each overlay's last image as
// "<key>.png", upright; HORLOX_STAND_IN_WITHHOLD names an interface not offered.
// The interfaces are C++ objects by layout only: a table of functions taking
// the object first, in the order of openvr_capi.h's tables, which is the
// vtable's. A slot without a function aborts, naming itself.
#include <GL/gl.h>
#include <stb_image_write.h>

#include <openvr.h>
#include <openvr_capi.h>

#include <ivrclientcore.h>

#include <array>
#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <initializer_list>
#include <map>
#include <string>
#include <typeinfo>
#include <utility>
#include <vector>

static_assert(sizeof(vr::VREvent_t) == 60, "SteamVR on Linux packs its event record");

namespace {

std::string setting(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

struct Overlay {
    std::string key;
    bool dashboard = false;
    bool shown = false;
    GLint width = 0, height = 0;
    std::deque<vr::VREvent_t> events;
};

struct Session {
    std::string folder;
    std::FILE* log = nullptr;
    unsigned pass = 0;
    bool passOver = true;
    bool controllerOn = false;
    bool dashboardOpen = false;
    std::deque<vr::VREvent_t> systemEvents;
    std::map<vr::VROverlayHandle_t, Overlay> overlays;
    vr::VROverlayHandle_t dashboard = vr::k_ulOverlayHandleInvalid;
    vr::VROverlayHandle_t nextHandle = 0x100000001;  // SteamVR's handles fill 64 bits
} session;

void logCall(const char* format, ...) __attribute__((format(printf, 1, 2)));
void logCall(const char* format, ...) {
    if (!session.log) return;
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(session.log, format, arguments);
    va_end(arguments);
    std::fputc('\n', session.log);
    std::fflush(session.log);
}

const char* text(const char* value) { return value ? value : "(null)"; }

vr::VREvent_t event(vr::EVREventType type, vr::TrackedDeviceIndex_t device = vr::k_unTrackedDeviceIndexInvalid) {
    vr::VREvent_t made{};
    made.eventType = type;
    made.trackedDeviceIndex = device;
    return made;
}

Overlay* find(vr::VROverlayHandle_t handle) {
    auto found = session.overlays.find(handle);
    return found == session.overlays.end() ? nullptr : &found->second;
}

vr::VROverlayHandle_t addOverlay(const std::string& key, bool dashboard) {
    const vr::VROverlayHandle_t handle = session.nextHandle++;
    session.overlays[handle].key = key;
    session.overlays[handle].dashboard = dashboard;
    return handle;
}

void pointAndClick(bool press) {
    float x = 0, y = 0;
    Overlay* menu = find(session.dashboard);
    if (!menu || std::sscanf(setting("HORLOX_STAND_IN_CLICK").c_str(), "%f %f", &x, &y) != 2) return;
    vr::VREvent_t mouse = event(vr::VREvent_MouseMove);
    mouse.data.mouse = {x, 1 - y, vr::VRMouseButton_Left};  // from the bottom-left, y up
    if (press) menu->events.push_back(mouse);
    mouse.eventType = press ? vr::VREvent_MouseButtonDown : vr::VREvent_MouseButtonUp;
    menu->events.push_back(mouse);
}

void beginPass() {
    switch (++session.pass) {
        case 1:
            session.controllerOn = true;
            session.systemEvents.push_back(event(vr::VREvent_TrackedDeviceActivated, 1));
            break;
        case 2:
            session.dashboardOpen = true;
            session.systemEvents.push_back(event(vr::VREvent_DashboardActivated));
            break;
        case 3:
        case 4:
            pointAndClick(session.pass == 3);
            break;
        case 6:
            session.systemEvents.push_back(event(vr::VREvent_Quit));
            break;
    }
}

// The call is logged as "<call><size>) -> <event type>". A client that asks
// with another size has the record's layout wrong.
bool deliver(std::deque<vr::VREvent_t>& queue, const std::string& call, vr::VREvent_t* out,
             std::uint32_t size) {
    if (queue.empty()) return false;
    if (size != sizeof(vr::VREvent_t)) {
        std::fprintf(stderr, "OpenVR stand-in: %s%u) asks for a %zu-byte event record\n",
                     call.c_str(), size, sizeof(vr::VREvent_t));
        std::abort();
    }
    *out = queue.front();
    queue.pop_front();
    logCall("%s%u) -> %u", call.c_str(), size, out->eventType);
    return true;
}

// The runtime shows a GL texture's first row at the bottom, so the picture's
// top row is the texture's last.
bool recordTexture(Overlay& overlay, const vr::Texture_t* texture) {
    if (!texture || texture->eType != vr::TextureType_OpenGL) return false;
    GLint previous = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(reinterpret_cast<std::uintptr_t>(texture->handle)));
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &overlay.width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &overlay.height);
    const std::size_t rowBytes = static_cast<std::size_t>(overlay.width) * 4;
    std::vector<unsigned char> rows(rowBytes * static_cast<std::size_t>(overlay.height));
    if (!rows.empty()) glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rows.data());
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous));
    if (rows.empty()) return false;

    std::vector<unsigned char> shown(rows.size());
    for (GLint row = 0; row < overlay.height; ++row)
        std::memcpy(&shown[row * rowBytes], &rows[(overlay.height - 1 - row) * rowBytes], rowBytes);
    return stbi_write_png((session.folder + "/" + overlay.key + ".png").c_str(), overlay.width,
                          overlay.height, 4, shown.data(), static_cast<int>(rowBytes));
}

vr::EVROverlayError setShown(vr::VROverlayHandle_t handle, bool shown) {
    Overlay* overlay = find(handle);
    if (!overlay) return vr::VROverlayError_UnknownOverlay;
    if (overlay->shown != shown)
        overlay->events.push_back(event(shown ? vr::VREvent_OverlayShown : vr::VREvent_OverlayHidden));
    overlay->shown = shown;
    return vr::VROverlayError_None;
}

using Slot = void (*)();

template <typename Interface, std::size_t Index>
void unserved() {
    std::fprintf(stderr, "OpenVR stand-in: slot %zu of %s is not served\n", Index, typeid(Interface).name());
    std::abort();
}

template <typename Interface, std::size_t... Index>
std::array<Slot, sizeof...(Index)> unservedSlots(std::index_sequence<Index...>) {
    return {&unserved<Interface, Index>...};
}

// An object of the interface's vtable layout. The Itanium ABI puts the offset
// to the object's top and its type in front of the slots; sanitizers read them
// on calls through the interface.
template <typename Interface, typename FunctionTable>
class Served {
public:
    Served(std::initializer_list<std::pair<std::size_t, Slot>> functions) {
        for (const auto& [slot, function] : functions) table.slots[slot] = function;
    }
    void* object() { return &vtable; }

private:
    static constexpr std::size_t count = sizeof(FunctionTable) / sizeof(Slot);
    struct {
        std::ptrdiff_t offsetToTop = 0;
        const std::type_info* type = &typeid(Interface);
        std::array<Slot, count> slots = unservedSlots<Interface>(std::make_index_sequence<count>());
    } table;
    const Slot* vtable = table.slots.data();
};

// One slot: the interface, its method as openvr_capi.h names it, and a function
// taking the object first.
#define SERVE(Interface, Method, ...) \
    {offsetof(VR_##Interface##_FnTable, Method) / sizeof(Slot), reinterpret_cast<Slot>(+__VA_ARGS__)}

Served<vr::IVRSystem, VR_IVRSystem_FnTable> systemInterface{
    SERVE(IVRSystem, GetTrackedDeviceIndexForControllerRole, [](void*, vr::ETrackedControllerRole role) {
        const bool left = role == vr::TrackedControllerRole_LeftHand && session.controllerOn;
        const vr::TrackedDeviceIndex_t found = left ? 1 : vr::k_unTrackedDeviceIndexInvalid;
        logCall("GetTrackedDeviceIndexForControllerRole(%d) -> %u", role, found);
        return found;
    }),
    SERVE(IVRSystem, PollNextEvent, [](void*, vr::VREvent_t* out, std::uint32_t size) {
        if (session.passOver) beginPass();
        session.passOver = !deliver(session.systemEvents, "PollNextEvent(", out, size);
        return !session.passOver;
    }),
    SERVE(IVRSystem, GetEventTypeNameFromEnum, [](void*, vr::EVREventType type) {
        return type == vr::VREvent_OverlayShown ? "VREvent_OverlayShown" : "VREvent_Other";
    }),
    // The headset stands upright at eye height, the controller a little ahead
    // and below; every other device is off.
    SERVE(IVRSystem, GetDeviceToAbsoluteTrackingPose, [](void*, vr::ETrackingUniverseOrigin, float,
                                                         vr::TrackedDevicePose_t* poses, std::uint32_t count) {
        for (std::uint32_t device = 0; device < count; ++device) {
            const bool on = device == 0 || (device == 1 && session.controllerOn);
            const float height = device == 0 ? 1.6f : 1.0f, ahead = device == 0 ? 0.0f : -0.3f;
            poses[device] = vr::TrackedDevicePose_t{};
            poses[device].mDeviceToAbsoluteTracking = {{{1, 0, 0, 0}, {0, 1, 0, height}, {0, 0, 1, ahead}}};
            poses[device].eTrackingResult = on ? vr::TrackingResult_Running_OK : vr::TrackingResult_Uninitialized;
            poses[device].bPoseIsValid = poses[device].bDeviceIsConnected = on;
        }
    }),
    // The left controller reports a half-full battery that is not charging;
    // there is no other device.
    SERVE(IVRSystem, GetBoolTrackedDeviceProperty, [](void*, vr::TrackedDeviceIndex_t device,
                                                      vr::ETrackedDeviceProperty prop,
                                                      vr::ETrackedPropertyError* error) {
        const bool present = device == 1 && session.controllerOn;
        if (error) *error = present ? vr::TrackedProp_Success : vr::TrackedProp_InvalidDevice;
        return present && prop == vr::Prop_DeviceProvidesBatteryStatus_Bool;
    }),
    SERVE(IVRSystem, GetFloatTrackedDeviceProperty, [](void*, vr::TrackedDeviceIndex_t device,
                                                       vr::ETrackedDeviceProperty,
                                                       vr::ETrackedPropertyError* error) {
        const bool present = device == 1 && session.controllerOn;
        if (error) *error = present ? vr::TrackedProp_Success : vr::TrackedProp_InvalidDevice;
        return present ? 0.5f : 0.0f;
    }),
};

Served<vr::IVRApplications, VR_IVRApplications_FnTable> applicationsInterface{
    SERVE(IVRApplications, IsApplicationInstalled, [](void*, const char*) { return false; }),
    SERVE(IVRApplications, AddApplicationManifest, [](void*, const char* path, bool temporary) {
        logCall("AddApplicationManifest(%s, %s)", text(path), temporary ? "true" : "false");
        return vr::VRApplicationError_None;
    }),
    SERVE(IVRApplications, GetApplicationAutoLaunch, [](void*, const char*) { return false; }),
    SERVE(IVRApplications, SetApplicationAutoLaunch, [](void*, const char* key, bool autoLaunch) {
        logCall("SetApplicationAutoLaunch(%s, %s)", text(key), autoLaunch ? "true" : "false");
        return vr::VRApplicationError_None;
    }),
};

Served<vr::IVROverlay, VR_IVROverlay_FnTable> overlayInterface{
    SERVE(IVROverlay, CreateOverlay, [](void*, const char* key, const char*, vr::VROverlayHandle_t* handle) {
        *handle = addOverlay(text(key), false);
        return vr::VROverlayError_None;
    }),
    SERVE(IVROverlay, CreateDashboardOverlay, [](void*, const char* key, const char*,
                                                 vr::VROverlayHandle_t* main, vr::VROverlayHandle_t* thumbnail) {
        session.dashboard = *main = addOverlay(text(key), true);
        *thumbnail = addOverlay(text(key) + std::string(".thumbnail"), false);
        return vr::VROverlayError_None;
    }),
    // Settings whose effect only a headset shows are taken without a word.
    SERVE(IVROverlay, SetOverlayWidthInMeters, [](void*, vr::VROverlayHandle_t, float) {
        return vr::VROverlayError_None;
    }),
    SERVE(IVROverlay, SetOverlayAlpha, [](void*, vr::VROverlayHandle_t, float) { return vr::VROverlayError_None; }),
    SERVE(IVROverlay, SetOverlayFlag, [](void*, vr::VROverlayHandle_t, vr::VROverlayFlags, bool) {
        return vr::VROverlayError_None;
    }),
    SERVE(IVROverlay, SetOverlayInputMethod, [](void*, vr::VROverlayHandle_t, vr::VROverlayInputMethod) {
        return vr::VROverlayError_None;
    }),
    SERVE(IVROverlay, SetOverlayTransformAbsolute, [](void*, vr::VROverlayHandle_t, vr::ETrackingUniverseOrigin,
                                                      const vr::HmdMatrix34_t*) { return vr::VROverlayError_None; }),
    SERVE(IVROverlay, SetOverlayTransformTrackedDeviceRelative, [](void*, vr::VROverlayHandle_t handle,
                                                                   vr::TrackedDeviceIndex_t device,
                                                                   const vr::HmdMatrix34_t* placement) {
        Overlay* overlay = find(handle);
        if (!overlay || !placement) return vr::VROverlayError_InvalidParameter;
        logCall("SetOverlayTransformTrackedDeviceRelative(%s, %u, %g %g %g)", overlay->key.c_str(), device,
                placement->m[0][3], placement->m[1][3], placement->m[2][3]);
        return vr::VROverlayError_None;
    }),
    SERVE(IVROverlay, ShowOverlay, [](void*, vr::VROverlayHandle_t handle) { return setShown(handle, true); }),
    SERVE(IVROverlay, HideOverlay, [](void*, vr::VROverlayHandle_t handle) { return setShown(handle, false); }),
    SERVE(IVROverlay, IsOverlayVisible, [](void*, vr::VROverlayHandle_t handle) {
        Overlay* overlay = find(handle);
        const bool visible = overlay && (overlay->dashboard ? session.dashboardOpen : overlay->shown);
        logCall("IsOverlayVisible(%s) -> %s", overlay ? overlay->key.c_str() : "?", visible ? "true" : "false");
        return visible;
    }),
    SERVE(IVROverlay, SetOverlayTexture, [](void*, vr::VROverlayHandle_t handle, const vr::Texture_t* texture) {
        Overlay* overlay = find(handle);
        if (!overlay || !recordTexture(*overlay, texture)) return vr::VROverlayError_InvalidTexture;
        logCall("SetOverlayTexture(%s, %d x %d)", overlay->key.c_str(), overlay->width, overlay->height);
        return vr::VROverlayError_None;
    }),
    SERVE(IVROverlay, GetOverlayTextureSize, [](void*, vr::VROverlayHandle_t handle, std::uint32_t* width,
                                                std::uint32_t* height) {
        Overlay* overlay = find(handle);
        if (!overlay || overlay->width <= 0) return vr::VROverlayError_InvalidTexture;
        *width = static_cast<std::uint32_t>(overlay->width);
        *height = static_cast<std::uint32_t>(overlay->height);
        return vr::VROverlayError_None;
    }),
    SERVE(IVROverlay, PollNextOverlayEvent, [](void*, vr::VROverlayHandle_t handle, vr::VREvent_t* out,
                                               std::uint32_t size) {
        Overlay* overlay = find(handle);
        return overlay && deliver(overlay->events, "PollNextOverlayEvent(" + overlay->key + ", ", out, size);
    }),
};

void* served(const char* version) {
    const std::string name = text(version);
    if (name == setting("HORLOX_STAND_IN_WITHHOLD")) return nullptr;
    if (name == vr::IVRSystem_Version) return systemInterface.object();
    if (name == vr::IVRApplications_Version) return applicationsInterface.object();
    if (name == vr::IVROverlay_Version) return overlayInterface.object();
    return nullptr;
}

class StandInCore final : public vr::IVRClientCore {
public:
    vr::EVRInitError Init(vr::EVRApplicationType, const char*) override {
        session.folder = setting("HORLOX_STAND_IN_DIR");
        if (!session.folder.empty())
            session.log = std::fopen((session.folder + "/calls.log").c_str(), "w");
        return session.log ? vr::VRInitError_None : vr::VRInitError_Init_NoLogPath;
    }
    void Cleanup() override {}
    vr::EVRInitError IsInterfaceVersionValid(const char* version) override {
        const bool valid = served(version) != nullptr;
        logCall("IsInterfaceVersionValid(%s) -> %s", text(version), valid ? "yes" : "no");
        return valid ? vr::VRInitError_None : vr::VRInitError_Init_InterfaceNotFound;
    }
    void* GetGenericInterface(const char* version, vr::EVRInitError* error) override {
        void* object = served(version);
        if (error) *error = object ? vr::VRInitError_None : vr::VRInitError_Init_InterfaceNotFound;
        return object;
    }
    bool BIsHmdPresent() override { return true; }
    const char* GetEnglishStringForHmdError(vr::EVRInitError) override { return "stand-in error"; }
    const char* GetIDForVRInitError(vr::EVRInitError) override { return "StandInError"; }
} core;

}  // namespace

extern "C" __attribute__((visibility("default"))) void* VRClientCoreFactory(const char* name, int* returnCode) {
    const bool known = name && std::strcmp(name, vr::IVRClientCore_Version) == 0;
    if (returnCode) *returnCode = known ? vr::VRInitError_None : vr::VRInitError_Init_InterfaceNotFound;
    return known ? &core : nullptr;
}
