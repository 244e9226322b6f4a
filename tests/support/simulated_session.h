#pragma once

// A simulated runtime in a scratch folder of its own, for the VR suites.
#include <memory>
#include <string>
#include <vector>

#include "app/runtime_selection.h"
#include "support/call_log.h"
#include "support/test_files.h"
#include "vr/openvr/openvr_api.h"
#include "vr/openvr/openvr_runtime.h"

class SimulatedSession {
public:
    explicit SimulatedSession(const std::string& scenario = "") { writeFile(path("scenario"), scenario); }

    // OpenVR over a runtime that knows the program as installed and auto-launched.
    std::unique_ptr<VrRuntime> installedRuntime() const {
        writeFile(path("state/applications.txt"), "app.quillmere.horlox\t1\t/app.manifest\n");
        return createOpenVrRuntime(
            createSimulatedOpenVr({path("state"), path("scenario"), path("record"), menuButtonPlace}));
    }
    std::vector<RecordedCall> calls() const { return readCallLog(path("record")); }
    std::string path(const std::string& name) const { return folder.path() + "/" + name; }

private:
    TemporaryDirectory folder;
};
