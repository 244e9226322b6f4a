#pragma once

// The real program (HORLOX_BINARY) in VR mode in a scratch working directory
// with the shipped manifest and watches of one colour each, run to its end
// against the simulated runtime and a scenario; judged by its exit status,
// its debugger output and the runtime's record. The test program defines
// HORLOX_BINARY and HORLOX_RUN_DIR.
#include <gtest/gtest.h>

#include "support/call_log.h"
#include "support/child_process.h"
#include "support/test_files.h"

class ProgramSession : public ::testing::Test {
protected:
    void SetUp() override { writeFile(path("app.manifest"), readWholeFile(HORLOX_RUN_DIR "/app.manifest")); }

    // A watch whose face is one colour, so the recorded image shows which was drawn.
    void addWatch(const std::string& name, const Rgba& colour) {
        writeFile(path("watches/" + name + "/face.png"), pngOfColour(256, 256, 4, colour.data()));
        writeFile(path("watches/" + name + "/config"), ":watch\nname=" + name + "\n:face\nfile=face.png\n");
    }
    std::string path(const std::string& name) const { return directory.path() + "/" + name; }

    // True when the program ended with that status; the environment is
    // changed as asked after the simulated runtime's variables are set.
    ::testing::AssertionResult run(const std::string& scenario, int status,
                                   const ChildProcess::Environment& changed = {}) {
        writeFile(path("scenario"), scenario);
        ChildProcess::Environment environment = {{"HORLOX_VR_RUNTIME", "simulated"},
                                                 {"HORLOX_SIM_DIR", path("state")},
                                                 {"HORLOX_SIM_SCENARIO", path("scenario")},
                                                 {"HORLOX_SIM_RECORD", path("record")}};
        environment.insert(environment.end(), changed.begin(), changed.end());
        ChildProcess program(HORLOX_BINARY, {}, directory.path(), environment);
        const std::optional<int> ended = program.waitForExit(std::chrono::seconds(60));
        log = program.standardError();
        calls = readCallLog(path("record"));
        if (ended == status) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "ended with " << ended.value_or(-999) << ": " << log;
    }
    std::vector<unsigned long> passes(const std::string& name, const Words& arguments, const Words& result = {}) const {
        return passesOf(calls, name, arguments, result);
    }
    // 0 where no such call was made.
    unsigned long firstPass(const std::string& name, const Words& arguments, const Words& result = {}) const {
        const std::vector<unsigned long> found = passes(name, arguments, result);
        return found.empty() ? 0 : found.front();
    }
    unsigned long lastPass(const std::string& name, const Words& arguments, const Words& result = {}) const {
        const std::vector<unsigned long> found = passes(name, arguments, result);
        return found.empty() ? 0 : found.back();
    }

    TemporaryDirectory directory;
    std::string log;
    std::vector<RecordedCall> calls;
};
