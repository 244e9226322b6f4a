#include "app/runtime_selection.h"

#include <cstdlib>
#include <string>

#include "ui/menu_buttons.h"
#ifdef HORLOX_WITH_OPENVR
#include "vr/openvr/openvr_runtime.h"
#endif

std::optional<MenuRect> menuButtonPlace(const std::string& label) {
    const std::optional<ButtonPlace> button = findMenuButton(label);
    if (!button) return std::nullopt;
    return MenuRect{button->left, button->top, button->right, button->bottom};
}

std::unique_ptr<VrRuntime> selectVrRuntime() {
    const char* chosen = std::getenv("HORLOX_VR_RUNTIME");
    const std::string name = chosen && *chosen ? chosen : "openvr";
    if (name == "simulated")
        return createSimulatedRuntime(simulatedRuntimeSetupFromEnvironment(menuButtonPlace));
#ifdef HORLOX_WITH_OPENVR
    if (name == "openvr") return createOpenVrRuntime();
#endif
    return nullptr;
}
