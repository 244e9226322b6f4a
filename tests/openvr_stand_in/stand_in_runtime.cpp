// The simulated runtime behind the real OpenVR client library, for tests: the
// library finds it through VR_OVERRIDE at <runtime>/bin/linux64/vrclient.so.
// It serves IVRClientCore_003, and IVRSystem_021, IVROverlay_022 and
// IVRApplications_007 as far as the program calls them, each call handed to a
// simulated runtime set up from the HORLOX_SIM_* variables, which plays the
// scenario and keeps the record. Its clicks take positions, as it cannot see
// the program's menu. HORLOX_STAND_IN_WITHHOLD names an interface not offered.
// The interfaces are C++ objects by layout only: a table of functions taking
// the object first, at the slots of the SDK's classes. A slot without a
// function aborts, naming itself.
#include <openvr.h>

#include <ivrclientcore.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <typeinfo>
#include <utility>

#include "platform/log.h"
#include "vr/openvr/openvr_api.h"
#include "vr/simulated/simulated_runtime.h"

namespace {

// Records the client hands over as they are, apart from the event.
static_assert(sizeof(vr::VREvent_t) == 60, "SteamVR on Linux packs its event record");
static_assert(sizeof(vr::TrackedDevicePose_t) == sizeof(TrackedDevicePose_t) &&
                  offsetof(vr::TrackedDevicePose_t, bPoseIsValid) == offsetof(TrackedDevicePose_t, bPoseIsValid),
              "poses as the simulator's");
static_assert(sizeof(vr::Texture_t) == sizeof(Texture_t) && sizeof(vr::HmdMatrix34_t) == sizeof(HmdMatrix34_t),
              "textures and matrices as the simulator's");

std::unique_ptr<OpenVrApi> simulated;

using Slot = void (*)();

// A virtual method's slot: the Itanium ABI keeps 1 + its offset in the table
// in a pointer to it.
template <typename Method>
std::size_t slotOf(Method method) {
    std::uintptr_t offset = 0;
    std::memcpy(&offset, &method, sizeof offset);
    return (offset - 1) / sizeof(Slot);
}

template <typename Interface, std::size_t Index>
void unserved() {
    std::fprintf(stderr, "OpenVR stand-in: slot %zu of %s is not served\n", Index, typeid(Interface).name());
    std::abort();
}

template <typename Interface, std::size_t... Index>
std::array<Slot, sizeof...(Index)> unservedSlots(std::index_sequence<Index...>) {
    return {&unserved<Interface, Index>...};
}

// An object of the interface's vtable layout, with room for every slot. The
// Itanium ABI puts the offset to the object's top and its type in front of
// the slots; sanitizers read them on calls through the interface.
template <typename Interface>
class Served {
public:
    Served(std::initializer_list<std::pair<std::size_t, Slot>> functions) {
        for (const auto& [slot, function] : functions) table.slots.at(slot) = function;
    }
    void* object() { return &vtable; }

private:
    static constexpr std::size_t count = 128;
    struct {
        std::ptrdiff_t offsetToTop = 0;
        const std::type_info* type = &typeid(Interface);
        std::array<Slot, count> slots = unservedSlots<Interface>(std::make_index_sequence<count>());
    } table;
    const Slot* vtable = table.slots.data();
};

// The simulator's method of the same name, taking the object first.
template <auto method>
struct Forward;
template <typename Result, typename... Arguments, Result (OpenVrApi::*method)(Arguments...)>
struct Forward<method> {
    static Result call(void*, Arguments... arguments) { return (simulated.get()->*method)(arguments...); }
};
#define FORWARD(Interface, Method) \
    {slotOf(&vr::Interface::Method), reinterpret_cast<Slot>(&Forward<&OpenVrApi::Method>::call)}

// The simulator's next event in the 60-byte record. A client that asks with
// another size has the record's layout wrong.
template <typename Poll>
bool deliver(vr::VREvent_t* out, std::uint32_t size, Poll poll) {
    if (size != sizeof(vr::VREvent_t)) {
        std::fprintf(stderr, "OpenVR stand-in: asked for a %u-byte event record\n", size);
        std::abort();
    }
    VREvent_t event{};
    if (!poll(&event)) return false;
    *out = vr::VREvent_t{event.eventType, event.trackedDeviceIndex, event.eventAgeSeconds, {}};
    static_assert(sizeof out->data == sizeof event.data, "event data as the simulator's");
    std::memcpy(&out->data, &event.data, sizeof out->data);
    return true;
}

Served<vr::IVRSystem> systemInterface{
    FORWARD(IVRSystem, GetTrackedDeviceIndexForControllerRole),
    FORWARD(IVRSystem, GetEventTypeNameFromEnum),
    FORWARD(IVRSystem, GetDeviceToAbsoluteTrackingPose),
    FORWARD(IVRSystem, GetBoolTrackedDeviceProperty),
    FORWARD(IVRSystem, GetFloatTrackedDeviceProperty),
    FORWARD(IVRSystem, AcknowledgeQuit_Exiting),
    {slotOf(&vr::IVRSystem::PollNextEvent),
     reinterpret_cast<Slot>(+[](void*, vr::VREvent_t* out, std::uint32_t size) {
         return deliver(out, size, [](VREvent_t* event) { return simulated->PollNextEvent(event, sizeof *event); });
     })},
};

Served<vr::IVRApplications> applicationsInterface{
    FORWARD(IVRApplications, IsApplicationInstalled),
    FORWARD(IVRApplications, AddApplicationManifest),
    FORWARD(IVRApplications, GetApplicationAutoLaunch),
    FORWARD(IVRApplications, SetApplicationAutoLaunch),
    FORWARD(IVRApplications, GetApplicationsErrorNameFromEnum),
};

Served<vr::IVROverlay> overlayInterface{
    FORWARD(IVROverlay, CreateOverlay),
    FORWARD(IVROverlay, CreateDashboardOverlay),
    FORWARD(IVROverlay, SetOverlayWidthInMeters),
    FORWARD(IVROverlay, SetOverlayAlpha),
    FORWARD(IVROverlay, SetOverlayFlag),
    FORWARD(IVROverlay, SetOverlayInputMethod),
    FORWARD(IVROverlay, SetOverlayTransformAbsolute),
    FORWARD(IVROverlay, SetOverlayTransformTrackedDeviceRelative),
    FORWARD(IVROverlay, ShowOverlay),
    FORWARD(IVROverlay, HideOverlay),
    FORWARD(IVROverlay, IsOverlayVisible),
    FORWARD(IVROverlay, SetOverlayTexture),
    FORWARD(IVROverlay, GetOverlayTextureSize),
    {slotOf(&vr::IVROverlay::PollNextOverlayEvent),
     reinterpret_cast<Slot>(+[](void*, VROverlayHandle_t overlay, vr::VREvent_t* out, std::uint32_t size) {
         return deliver(out, size, [overlay](VREvent_t* event) {
             return simulated->PollNextOverlayEvent(overlay, event, sizeof *event);
         });
     })},
};

void* served(const char* version) {
    const char* withheld = std::getenv("HORLOX_STAND_IN_WITHHOLD");
    const std::string name = version ? version : "";
    if (withheld && name == withheld) return nullptr;
    if (name == vr::IVRSystem_Version) return systemInterface.object();
    if (name == vr::IVRApplications_Version) return applicationsInterface.object();
    if (name == vr::IVROverlay_Version) return overlayInterface.object();
    return nullptr;
}

class StandInCore final : public vr::IVRClientCore {
public:
    vr::EVRInitError Init(vr::EVRApplicationType type, const char*) override {
        simulated = createSimulatedOpenVr(simulatedRuntimeSetupFromEnvironment(nullptr));
        return static_cast<vr::EVRInitError>(simulated->Init(static_cast<EVRApplicationType>(type)));
    }
    // The client library's VR_Shutdown.
    void Cleanup() override {
        if (simulated) simulated->Shutdown();
        simulated.reset();
    }
    vr::EVRInitError IsInterfaceVersionValid(const char* version) override {
        return served(version) ? vr::VRInitError_None : vr::VRInitError_Init_InterfaceNotFound;
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
    // The module's own log, as the program's: the simulator's faults are lines of it.
    loggingEnabled = true;
    const bool known = name && std::strcmp(name, vr::IVRClientCore_Version) == 0;
    if (returnCode) *returnCode = known ? vr::VRInitError_None : vr::VRInitError_Init_InterfaceNotFound;
    return known ? &core : nullptr;
}
