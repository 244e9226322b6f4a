// The real program, started in a scratch working directory on the test display.
#include <gtest/gtest.h>

#include <filesystem>
#include <thread>
#include <tuple>

#include "support/child_process.h"
#include "support/package_files.h"
#include "support/temporary_directory.h"
#include "support/x11_window_probe.h"

namespace {

using namespace std::chrono_literals;

std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

// Each run gets a working directory with one small watch of its own.
class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override { writeFile(directory.path() + "/watches/Plain/config", ":watch\nname=Plain\n"); }
    TemporaryDirectory directory;
};

TEST_F(ProgramTest, OfflineShowsTheWindowLogsUnknownParametersAndEndsWhenClosed) {
    ChildProcess program(HORLOX_BINARY, {"--offline", "foo"}, directory.path());
    ASSERT_TRUE(program.waitForErrorText("GL_RENDERER: ", 30s)) << program.standardError();
    std::optional<WindowFacts> window;
    for (auto waited = 0ms; waited < 10s && !(window && window->viewable); waited += 50ms) {
        std::this_thread::sleep_for(50ms);
        window = findWindowByTitle("Horlox");
    }
    ASSERT_TRUE(window.has_value());
    EXPECT_TRUE(window->viewable);
    EXPECT_EQ(std::tie(window->x, window->y, window->width, window->height), std::make_tuple(0, 0, 1280, 720));

    std::this_thread::sleep_for(1500ms);
    EXPECT_TRUE(program.running());
    const std::string log = program.standardError();
    EXPECT_EQ(occurrences(log, "Invalid launch parameter: "), 1u) << log;
    EXPECT_EQ(occurrences(log, "] Invalid launch parameter: foo\n"), 1u) << log;
    EXPECT_EQ(occurrences(log, "] GL_VERSION: "), 1u) << log;
    ASSERT_TRUE(requestWindowClose("Horlox"));
    EXPECT_EQ(program.waitForExit(10s), 0) << program.standardError();
}

// Each ends with status 1 and the line that says why: without a display,
// with no VR runtime, with no watches.
TEST_F(ProgramTest, StartsThatCannotGoOnEndAtOnce) {
    const std::tuple<std::vector<std::string>, ChildProcess::Environment, bool, std::string> starts[] = {
        {{"--offline"}, {{"DISPLAY", ""}}, true, "Failed to open display.\n"},
        {{}, {}, true, "Failed to Init OpenVR: VRInitError_Init_InstallationNotFound\n"},
        {{}, {}, false, "No watches found!\n"},
    };
    for (const auto& [arguments, environment, withWatches, last] : starts) {
        if (!withWatches) std::filesystem::remove_all(directory.path() + "/watches");
        ChildProcess program(HORLOX_BINARY, arguments, directory.path(), environment);
        EXPECT_EQ(program.waitForExit(30s), 1) << last;
        const std::string log = program.standardError();
        EXPECT_EQ(log.substr(log.size() - std::min(log.size(), last.size())), last) << log;
        // Without a display nothing else is said; else the GL context came first.
        if (environment.empty()) EXPECT_NE(log.find("] GL_RENDERER: "), std::string::npos) << log;
        else EXPECT_EQ(log, last);
    }
}

}  // namespace
