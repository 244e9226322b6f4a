// The real program, started in a scratch working directory on the test display.
#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "support/child_process.h"
#include "support/package_files.h"
#include "support/temporary_directory.h"
#include "support/x11_window_probe.h"

namespace {

using namespace std::chrono_literals;

constexpr auto startTimeout = 30s;

size_t countOccurrences(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// Each run gets a working directory with one small watch of its own.
class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        writeFile(workingDirectory.path() + "/watches/Plain/config", ":watch\nname=Plain\n");
    }
    TemporaryDirectory workingDirectory;
};

TEST_F(ProgramTest, OfflineShowsTheWindowKeepsRunningAndEndsWhenClosed) {
    ChildProcess program(HORLOX_BINARY, {"--offline"}, workingDirectory.path());
    ASSERT_TRUE(program.waitForErrorText("GL_RENDERER: ", startTimeout)) << program.standardError();

    std::optional<WindowFacts> window;
    for (auto waited = 0ms; waited < 10s && !(window && window->viewable); waited += 50ms) {
        std::this_thread::sleep_for(50ms);
        window = findWindowByTitle("Horlox");
    }
    ASSERT_TRUE(window.has_value());
    EXPECT_TRUE(window->viewable);
    EXPECT_EQ(window->width, 1280);
    EXPECT_EQ(window->height, 720);
    EXPECT_EQ(window->x, 0);
    EXPECT_EQ(window->y, 0);

    std::this_thread::sleep_for(1500ms);
    EXPECT_TRUE(program.running());

    ASSERT_TRUE(requestWindowClose("Horlox"));
    EXPECT_EQ(program.waitForExit(10s), 0) << program.standardError();
}

TEST_F(ProgramTest, WithoutADisplayItFailsAtOnce) {
    ChildProcess program(HORLOX_BINARY, {"--offline"}, workingDirectory.path(), {{"DISPLAY", ""}});
    EXPECT_EQ(program.waitForExit(startTimeout), 1);
    EXPECT_EQ(program.standardError(), "Failed to open display.\n");
}

TEST_F(ProgramTest, WithoutWatchesItEndsBeforeAnyVrSetUp) {
    std::filesystem::remove_all(workingDirectory.path() + "/watches");
    ChildProcess program(HORLOX_BINARY, {}, workingDirectory.path());
    EXPECT_EQ(program.waitForExit(startTimeout), 1);
    EXPECT_NE(program.standardError().find("] GL_RENDERER: "), std::string::npos);
    const std::string log = program.standardError();
    const std::string lastLine = "No watches found!\n";
    EXPECT_TRUE(log.size() >= lastLine.size() &&
                log.compare(log.size() - lastLine.size(), lastLine.size(), lastLine) == 0)
        << log;
}

TEST_F(ProgramTest, UnknownParametersAreLoggedOnceEachBesideTheGlLines) {
    ChildProcess program(HORLOX_BINARY, {"--offline", "foo"}, workingDirectory.path());
    ASSERT_TRUE(program.waitForErrorText("GL_RENDERER: ", startTimeout)) << program.standardError();
    const std::string log = program.standardError();
    EXPECT_EQ(countOccurrences(log, "Invalid launch parameter: "), 1u) << log;
    EXPECT_EQ(countOccurrences(log, "] Invalid launch parameter: foo\n"), 1u) << log;
    EXPECT_EQ(countOccurrences(log, "] GL_VERSION: "), 1u) << log;
    EXPECT_TRUE(program.running());
}

// A build with OpenVR asks its client library, here pointed at a runtime
// folder that does not exist; one without answers at once.
TEST_F(ProgramTest, VrModeWithoutARuntimeFails) {
    const std::string nowhere = workingDirectory.path() + "/no-runtime";
    ChildProcess program(HORLOX_BINARY, {}, workingDirectory.path(),
                         {{"HORLOX_VR_RUNTIME", ""}, {"VR_OVERRIDE", nowhere},
                          {"VR_CONFIG_PATH", nowhere}, {"VR_LOG_PATH", nowhere}});
    EXPECT_EQ(program.waitForExit(startTimeout), 1);
    EXPECT_NE(program.standardError().find(
                  "Failed to Init OpenVR: VRInitError_Init_InstallationNotFound\n"),
              std::string::npos)
        << program.standardError();
}

}  // namespace
