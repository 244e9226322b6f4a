#include "app/runtime_selection.h"

#include <cstdlib>
#include <string>

#include "ui/menu_buttons.h"
#ifdef HORLOX_WITH_OPENVR
#include "vr/openvr/openvr_runtime.h"
#endif

std::optional<MenuPoint> menuButtonCentre(const std::string& label) {
    const std::optional<ButtonPlace> button = findMenuButton(label);
    if (!button) return std::nullopt;
    return MenuPoint{(button->left + button->right) / 2, (button->top + button->bottom) / 2};
}

std::unique_ptr<VrRuntime> selectVrRuntime() {
    const char* chosen = std::getenv("HORLOX_VR_RUNTIME");
    const std::string name = chosen && *chosen ? chosen : "openvr";
    if (name == "simulated")
        return createSimulatedRuntime(simulatedRuntimeSetupFromEnvironment(menuButtonCentre));
#ifdef HORLOX_WITH_OPENVR
    if (name == "openvr") return createOpenVrRuntime();
#endif
    return nullptr;
}
