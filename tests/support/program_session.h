#pragma once

// The real program (HORLOX_BINARY) in VR mode in a scratch working directory
// with the shipped manifest and watches of one colour each, run to its end
// against the simulated runtime and a scenario; judged by its exit status,
// its debugger output and the runtime's record. The test program defines
// HORLOX_BINARY and HORLOX_RUN_DIR.
#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

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
        ChildProcess program(HORLOX_BINARY, {}, directory.path(), simulatedEnvironment(changed));
        const std::optional<int> ended = program.waitForExit(std::chrono::seconds(60));
        log = program.standardError();
        calls = readCallLog(path("record"));
        if (ended == status) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "ended with " << ended.value_or(-999) << ": " << log;
    }
    // The simulated runtime's variables, then the changes.
    ChildProcess::Environment simulatedEnvironment(const ChildProcess::Environment& changed = {}) const {
        ChildProcess::Environment environment = {{"HORLOX_VR_RUNTIME", "simulated"},
                                                 {"HORLOX_SIM_DIR", path("state")},
                                                 {"HORLOX_SIM_SCENARIO", path("scenario")},
                                                 {"HORLOX_SIM_RECORD", path("record")}};
        environment.insert(environment.end(), changed.begin(), changed.end());
        return environment;
    }
    // The passes, in order, of the calls that match.
    std::vector<unsigned long> passes(const std::string& name, const Words& arguments, const Words& result = {}) const {
        std::vector<unsigned long> found;
        for (const RecordedCall& call : matching(calls, name, arguments, result)) found.push_back(call.pass);
        return found;
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

    // `horlox --wait` started while the runtime is not running, through two of
    // its sessions: each time it waits without a word but one line, checking
    // as a background application that never starts the runtime, connects
    // once the runtime runs, shows the watch, and at the quit request starts
    // itself anew to wait again. Its record tells how often it checked when
    // the runtime keeps it across checks.
    void expectTwoSessionsOfAWaitingProgram(const ChildProcess::Environment& changed, bool checksRecorded) {
        using namespace std::chrono_literals;
        writeFile(path("scenario"), "1 controller 1 on left\n2s quit\n");
        writeFile(path("state/server-stopped"), "");
        ChildProcess program(HORLOX_BINARY, {"--wait"}, directory.path(), simulatedEnvironment(changed));
        for (std::size_t session = 1; session <= 2; ++session) {
            ASSERT_TRUE(eventually([&] { return occurrences(program.standardError(), waitingLine) == session; }, 60s))
                << program.standardError();
            std::this_thread::sleep_for(5s);
            ASSERT_TRUE(program.running()) << program.standardError();
            EXPECT_EQ(program.standardError().find("Failed"), std::string::npos) << program.standardError();
            calls = readCallLog(path("record"));
            const std::size_t checks = matching(calls, "VR_Init", {"3"}, {"VRInitError_Init_NoServerForBackgroundApp"}).size();
            EXPECT_TRUE((checks >= 2 && checks <= 4) || (!checksRecorded && checks >= 1)) << "every 2 s: " << checks;
            EXPECT_TRUE(matching(calls, "VR_Init", {"2"}).empty()) << "an overlay application would start the runtime";

            std::filesystem::remove(path("state/server-stopped"));
            EXPECT_TRUE(eventually([&] { return !matching(readCallLog(path("record")), "SetOverlayTexture", {"1"}).empty(); }, 60s))
                << "session " << session << ": " << program.standardError();
        }
        EXPECT_TRUE(eventually([&] { return occurrences(program.standardError(), waitingLine) == 3; }, 60s))
            << program.standardError();
        EXPECT_TRUE(program.running());
    }

    static constexpr const char* waitingLine = "] Waiting for the VR runtime to start.\n";

    TemporaryDirectory directory;
    std::string log;  // standard error
    std::vector<RecordedCall> calls;
};
