#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "vr/vr_runtime.h"

// A control of the client's menu in its pixels, from the top-left corner.
struct MenuRect {
    float left = 0, top = 0, right = 0, bottom = 0;
};

// The client's menu control (a button, a slider) with that label, where its
// most recent frame drew it; none when that frame has no such control. The
// scenario's clicks and drags aim there, so they follow the menu's layout.
using MenuButtonFinder = std::function<std::optional<MenuRect>(const std::string& label)>;

// Where the simulated runtime keeps and finds its files, and how it finds
// the menu's buttons.
struct SimulatedRuntimeSetup {
    std::string stateFolder;   // holds the application registry
    std::string scenarioPath;  // empty: nothing happens by itself
    std::string recordFolder;  // empty: nothing is recorded
    MenuButtonFinder findMenuButton;
};

// HORLOX_SIM_DIR (the state folder, "simulated-vr" in the working directory
// when unset), HORLOX_SIM_SCENARIO and HORLOX_SIM_RECORD.
SimulatedRuntimeSetup simulatedRuntimeSetupFromEnvironment(MenuButtonFinder findMenuButton);

std::unique_ptr<VrRuntime> createSimulatedRuntime(const SimulatedRuntimeSetup& setup);
