#pragma once

// A simulated runtime in a scratch folder of its own, for the VR suites.
#include <memory>
#include <string>
#include <vector>

#include "app/runtime_selection.h"
#include "support/call_log.h"
#include "support/test_files.h"

class SimulatedSession {
public:
    explicit SimulatedSession(const std::string& scenario = "") { writeFile(path("scenario"), scenario); }

    // A fresh runtime over the same state folder, as at the next process start.
    std::unique_ptr<VrRuntime> makeRuntime() const {
        return createSimulatedRuntime({path("state"), path("scenario"), path("record"), menuButtonPlace});
    }
    std::unique_ptr<VrRuntime> startedRuntime() const {
        std::unique_ptr<VrRuntime> runtime = makeRuntime();
        runtime->Init(VRApplication_Overlay);
        return runtime;
    }
    std::vector<RecordedCall> calls() const { return readCallLog(path("record")); }
    std::string path(const std::string& name) const { return folder.path() + "/" + name; }

private:
    TemporaryDirectory folder;
};
