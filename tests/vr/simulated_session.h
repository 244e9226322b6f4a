#pragma once

// A simulated runtime in a scratch folder of its own, for the VR suites.
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/runtime_selection.h"
#include "support/package_files.h"
#include "support/temporary_directory.h"

class SimulatedSession {
public:
    explicit SimulatedSession(const std::string& scenario = "") {
        writeFile(scenarioPath(), scenario);
    }

    // A fresh runtime over the same state folder, as at the next process start.
    std::unique_ptr<VrRuntime> makeRuntime(const std::string& recordName = "record") const {
        return createSimulatedRuntime({folder.path() + "/state", scenarioPath(),
                                       folder.path() + "/" + recordName, menuButtonPlace});
    }

    // A runtime that has been started.
    std::unique_ptr<VrRuntime> startedRuntime(const std::string& recordName = "record") const {
        std::unique_ptr<VrRuntime> runtime = makeRuntime(recordName);
        runtime->Init(VRApplication_Overlay);
        return runtime;
    }

    std::string callLog(const std::string& recordName = "record") const {
        return readWholeFile(folder.path() + "/" + recordName + "/calls.log");
    }

    std::string path(const std::string& name) const { return folder.path() + "/" + name; }
    std::string scenarioPath() const { return path("scenario"); }

private:
    TemporaryDirectory folder;
};

// The lines of a text that contain the part.
inline std::vector<std::string> linesWith(const std::string& text, const std::string& part) {
    std::vector<std::string> found;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
        if (line.find(part) != std::string::npos) found.push_back(line);
    return found;
}

// Polls the system queue to its end, as one main-loop pass does.
inline std::vector<VREvent_t> pollPass(VrRuntime& runtime) {
    std::vector<VREvent_t> events;
    VREvent_t event;
    while (runtime.PollNextEvent(&event, sizeof event)) events.push_back(event);
    return events;
}

// The matrix of a logged transform call, "[a b c d; e f g h; i j k l]".
inline bool readLoggedMatrix(const std::string& line, HmdMatrix34_t& matrix) {
    const std::size_t open = line.find('[');
    if (open == std::string::npos) return false;
    float (&m)[3][4] = matrix.m;
    return std::sscanf(line.c_str() + open, "[%f %f %f %f; %f %f %f %f; %f %f %f %f]", &m[0][0],
                       &m[0][1], &m[0][2], &m[0][3], &m[1][0], &m[1][1], &m[1][2], &m[1][3],
                       &m[2][0], &m[2][1], &m[2][2], &m[2][3]) == 12;
}
