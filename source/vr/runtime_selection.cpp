#include "vr/runtime_selection.h"

#include <cstdlib>
#include <string>

#include "vr/openvr_runtime.h"
#include "vr/simulated_runtime.h"

std::unique_ptr<VrRuntime> selectVrRuntime() {
    const char* chosen = std::getenv("HORLOX_VR_RUNTIME");
    const std::string name = chosen && *chosen ? chosen : "openvr";
    if (name == "simulated") return createSimulatedRuntime();
#ifdef HORLOX_WITH_OPENVR
    if (name == "openvr") return createOpenVrRuntime();
#endif
    return nullptr;
}
