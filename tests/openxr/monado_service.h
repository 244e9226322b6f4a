#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "support/child_process.h"
#include "support/test_files.h"

// A monado-service of the Monado build HORLOX_MONADO_DIR names, of its own:
// its own runtime folder (where clients find it), its own configuration with
// the remote driver on a free port, so that tests never meet another's
// service. The remote driver holds the head and the controllers still where
// RemoteDriver puts them.
class MonadoService {
public:
    enum class Compositor {
        Null,  // draws nothing: no Vulkan work, for tests that need no pixels
        Xcb,   // a 960 x 540 window titled "Monado" on the test display, each eye one half
    };
    // Starts the service and waits until clients can connect; ready() tells.
    explicit MonadoService(Compositor compositor);

    bool ready() const { return ready_; }
    int remotePort() const { return port_; }
    // What an OpenXR program needs in its environment to reach this service.
    ChildProcess::Environment clientEnvironment() const;
    // monado-ctl's listing of clients and devices.
    std::string control() const;
    // Ends the service at once, as a crash would.
    void kill() { process_.reset(); }
    std::string log() const { return readWholeFile(folder_.path() + "/service/stderr.txt"); }

private:
    TemporaryDirectory folder_;
    int port_ = 0;
    std::unique_ptr<ChildProcess> process_;
    bool ready_ = false;
};

// The Monado build's folder, or empty when the tests were built without one.
std::string monadoBuildFolder();
