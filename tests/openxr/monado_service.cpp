#include "monado_service.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <thread>

namespace {

using namespace std::chrono_literals;

constexpr char serviceProgram[] = "/src/xrt/targets/service/monado-service";
constexpr char controlProgram[] = "/src/xrt/targets/ctl/monado-ctl";
constexpr char runtimeManifest[] = "/openxr_monado-dev.json";

// A TCP port nobody listens on now, as the system hands them out.
int freePort() {
    const int probe = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    close(probe);
    return port;
}

}  // namespace

std::string monadoBuildFolder() { return HORLOX_MONADO_DIR; }

MonadoService::MonadoService(Compositor compositor) : port_(freePort()) {
    const std::string runtime = folder_.path() + "/runtime", service = folder_.path() + "/service";
    std::filesystem::create_directories(runtime);
    std::filesystem::create_directories(service);
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
    // The remote driver reads all three keys or none.
    writeFile(folder_.path() + "/config/monado/config_v0.json",
              "{\"remote\": {\"version\": 0, \"port\": " + std::to_string(port_) + ", \"view_count\": 2}}\n");
    ChildProcess::Environment environment = {{"XDG_RUNTIME_DIR", runtime},
                                             {"XDG_CONFIG_HOME", folder_.path() + "/config"},
                                             {"P_OVERRIDE_ACTIVE_CONFIG", "remote"},
                                             {"XRT_NO_STDIN", "1"}};
    if (compositor == Compositor::Null) {
        environment.push_back({"XRT_COMPOSITOR_NULL", "1"});
    } else {
        // The compute path can crash lavapipe.
        environment.push_back({"XRT_COMPOSITOR_FORCE_XCB", "1"});
        environment.push_back({"XRT_COMPOSITOR_COMPUTE", "0"});
    }
    process_ = std::make_unique<ChildProcess>(monadoBuildFolder() + serviceProgram, std::vector<std::string>{}, service,
                                              environment);
    for (auto waited = 0ms; waited < 20s && process_->running(); waited += 50ms) {
        if (std::filesystem::exists(runtime + "/monado_comp_ipc")) {
            ready_ = true;
            return;
        }
        std::this_thread::sleep_for(50ms);
    }
}

ChildProcess::Environment MonadoService::clientEnvironment() const {
    return {{"XDG_RUNTIME_DIR", folder_.path() + "/runtime"},
            {"XR_RUNTIME_JSON", monadoBuildFolder() + runtimeManifest}};
}

std::string MonadoService::control() const {
    const std::string folder = folder_.path() + "/control";
    std::filesystem::create_directories(folder);
    ChildProcess control(monadoBuildFolder() + controlProgram, {}, folder, clientEnvironment());
    control.waitForExit(10s);
    return control.standardOutput();
}
