#pragma once

#include <memory>
#include <string>

#include "vr/runtime/vr_runtime.h"
#include "vr/simulated/menu_button_finder.h"

class OpenVrApi;

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

// The simulated runtime's OpenVR calls, and the VR runtime over them through
// the OpenVR wing, as the program uses it.
std::unique_ptr<OpenVrApi> createSimulatedOpenVr(const SimulatedRuntimeSetup& setup);
std::unique_ptr<VrRuntime> createSimulatedRuntime(const SimulatedRuntimeSetup& setup);
