// The real program, started in a scratch working directory on the test display.
#include <gtest/gtest.h>
#include <algorithm>
#include <filesystem>
#include <thread>
#include <tuple>

#include "support/child_process.h"
#include "support/hostile_packages.h"
#include "support/test_files.h"
#include "support/x11_window_probe.h"

namespace {

using namespace std::chrono_literals;

std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

// Offline, the 256 x 256 watch lands in the lower-left corner of the window. A
// drawn watch has anti-aliased edges, neither black nor white; an undrawn
// window shows black or the screen's black and white pattern only.
std::size_t drawnPixelsInWatchCorner() {
    const std::vector<std::uint32_t> pixels = readWindowPixels("Horlox", 0, 720 - 256, 256, 256);
    return std::size_t(std::count_if(pixels.begin(), pixels.end(),
                                     [](std::uint32_t rgb) { return rgb != 0 && rgb != 0xFFFFFF; }));
}

// Offline with every hostile package beside the watches we ship, the chosen
// one of them: the window shows it, unknown parameters are logged once, and
// closing the window ends the program cleanly.
class OfflineProgramTest : public ::testing::TestWithParam<const char*> {};

TEST_P(OfflineProgramTest, ShowsTheChosenWatchBesideHostilePackagesAndEndsWhenClosed) {
    TemporaryDirectory directory;
    const std::string watches = directory.path() + "/watches";
    std::filesystem::copy(HORLOX_RUN_DIR "/watches", watches, std::filesystem::copy_options::recursive);
    installHostilePackages(watches);
    writeFile(directory.path() + "/settings.conf", std::string("watchOnRightHand=false\ninitialWatchName=") +
                                                      GetParam() + "\n");
    ChildProcess program(HORLOX_BINARY, {"--offline", "foo"}, directory.path());
    ASSERT_TRUE(program.waitForErrorText("GL_RENDERER: ", 30s)) << program.standardError();
    std::optional<WindowFacts> window;
    std::size_t drawn = 0;  // the first redraw follows the listing of every package
    for (auto waited = 0ms; waited < 60s && drawn < 100 && program.running(); waited += 100ms) {
        std::this_thread::sleep_for(100ms);
        window = findWindowByTitle("Horlox");
        drawn = drawnPixelsInWatchCorner();
    }
    ASSERT_TRUE(window.has_value());
    EXPECT_TRUE(window->viewable);
    EXPECT_EQ(std::tie(window->x, window->y, window->width, window->height), std::make_tuple(0, 0, 1280, 720));
    EXPECT_GE(drawn, 100u) << "the chosen watch was not drawn";
    std::this_thread::sleep_for(1500ms);
    ASSERT_TRUE(program.running()) << program.standardError();
    const std::string log = program.standardError();
    EXPECT_EQ(occurrences(log, "Invalid launch parameter: "), 1u) << log;
    for (const char* line : {"] Invalid launch parameter: foo\n", "] GL_VERSION: ",
                             // listing every package unpacks the bomb; the other hostile
                             // packages tell of their faults only once chosen
                             "] Watch package is too large to unpack, skipped: watches/Bomb.7z\n"})
        EXPECT_EQ(occurrences(log, line), 1u) << line << log;
    EXPECT_EQ(log.find("runtime error"), std::string::npos) << log;
    ASSERT_TRUE(requestWindowClose("Horlox"));
    EXPECT_EQ(program.waitForExit(10s), 0) << program.standardError();
}

INSTANTIATE_TEST_SUITE_P(ShippedWatches, OfflineProgramTest, ::testing::Values("Classic", "Digital", "Pilot"),
                         [](const auto& watch) { return std::string(watch.param); });

// Each ends with status 1 and the line that says why: without a display,
// with no VR runtime, with no watches.
TEST(ProgramTest, StartsThatCannotGoOnEndAtOnce) {
    TemporaryDirectory directory;
    writeFile(directory.path() + "/watches/Plain/config", ":watch\nname=Plain\n");
    const std::string nowhere = directory.path() + "/no-runtime";
    const std::tuple<std::vector<std::string>, ChildProcess::Environment, bool, std::string> starts[] = {
        {{"--offline"}, {{"DISPLAY", ""}}, true, "Failed to open display.\n"},
        // A build with OpenVR asks its client library, here pointed at a
        // runtime folder that does not exist; one without answers at once.
        {{}, {{"HORLOX_VR_RUNTIME", ""}, {"VR_OVERRIDE", nowhere}, {"VR_CONFIG_PATH", nowhere}, {"VR_LOG_PATH", nowhere}},
         true, "Failed to Init OpenVR: VRInitError_Init_InstallationNotFound\n"},
        {{}, {}, false, "No watches found!\n"},
    };
    for (const auto& [arguments, environment, withWatches, last] : starts) {
        if (!withWatches) std::filesystem::remove_all(directory.path() + "/watches");
        ChildProcess program(HORLOX_BINARY, arguments, directory.path(), environment);
        EXPECT_EQ(program.waitForExit(30s), 1) << last;
        const std::string log = program.standardError();
        EXPECT_EQ(log.substr(log.size() - std::min(log.size(), last.size())), last) << log;
        // Without a display nothing else is said; else the GL context came first.
        if (arguments.empty()) EXPECT_NE(log.find("] GL_RENDERER: "), std::string::npos) << log;
        else EXPECT_EQ(log, last);
    }
}

}  // namespace
