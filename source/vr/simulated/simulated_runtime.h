#pragma once

#include <memory>
#include <string>

#include "vr/simulated/menu_button_finder.h"
#include "vr/vr_runtime.h"

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
