#include "app/runtime_selection.h"

#include <cstdlib>
#include <string>

#include "platform/log.h"
#include "ui/menu_buttons.h"
#include "vr/openvr/openvr_runtime.h"
#ifdef HORLOX_WITH_OPENVR
#include "vr/openvr/sdk/openvr_sdk.h"
#endif
#ifdef HORLOX_WITH_OPENXR
#include "vr/openxr/openxr_runtime.h"
#endif

namespace {

// The runtime's name when none is given, and why.
std::string defaultRuntime(std::string& reason) {
#ifdef HORLOX_WITH_OPENXR
    if (openXrOverlaysOffered()) {
        reason = "the active OpenXR runtime offers overlays (XR_EXTX_overlay)";
        return "openxr";
    }
    reason = "no active OpenXR runtime offers overlays (XR_EXTX_overlay)";
#else
    reason = "this build has no OpenXR";
#endif
    return "openvr";
}

}  // namespace

std::optional<MenuRect> menuButtonPlace(const std::string& label) {
    const std::optional<ButtonPlace> button = findMenuButton(label);
    if (!button) return std::nullopt;
    return MenuRect{button->left, button->top, button->right, button->bottom};
}

std::unique_ptr<VrRuntime> selectVrRuntime() {
    const char* chosen = std::getenv("HORLOX_VR_RUNTIME");
    std::string reason = "HORLOX_VR_RUNTIME says so";
    const std::string name = chosen && *chosen ? chosen : defaultRuntime(reason);
    logMessage("VR runtime: %s, as %s", name.c_str(), reason.c_str());
    if (name == "simulated")
        return createSimulatedRuntime(simulatedRuntimeSetupFromEnvironment(menuButtonPlace));
#ifdef HORLOX_WITH_OPENVR
    if (name == "openvr") return createOpenVrRuntime(createOpenVrSdk());
#endif
#ifdef HORLOX_WITH_OPENXR
    if (name == "openxr") return createOpenXrRuntime();
#endif
    return createOpenVrRuntime();
}
