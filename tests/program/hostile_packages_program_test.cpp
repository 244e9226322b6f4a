// The real program, offline, with every hostile package installed beside the
// watches we ship: it starts, draws the chosen watch, writes its diagnostics,
// and ends cleanly when its window is closed.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <thread>

#include "support/child_process.h"
#include "support/hostile_packages.h"
#include "support/package_files.h"
#include "support/temporary_directory.h"
#include "support/x11_window_probe.h"

namespace {

using namespace std::chrono_literals;

// Offline, the 256 x 256 watch lands in the lower-left corner of the 1280 x
// 720 window. A drawn watch has anti-aliased edges, neither black nor white;
// an undrawn window shows black or the screen's black and white pattern only.
std::size_t drawnPixelsInWatchCorner() {
    const std::vector<std::uint32_t> pixels = readWindowPixels("Horlox", 0, 720 - 256, 256, 256);
    return std::size_t(std::count_if(pixels.begin(), pixels.end(),
                                     [](std::uint32_t rgb) { return rgb != 0 && rgb != 0xFFFFFF; }));
}

class HostilePackagesProgramTest : public ::testing::TestWithParam<const char*> {};

TEST_P(HostilePackagesProgramTest, DrawsTheChosenShippedWatchAndEndsCleanly) {
    TemporaryDirectory directory;
    const std::string watches = directory.path() + "/watches";
    std::filesystem::copy(HORLOX_RUN_DIR "/watches", watches, std::filesystem::copy_options::recursive);
    installHostilePackages(watches);
    writeFile(directory.path() + "/settings.conf",
              std::string("watchOnRightHand=false\ninitialWatchName=") + GetParam() + "\n");

    ChildProcess program(HORLOX_BINARY, {"--offline"}, directory.path());
    ASSERT_TRUE(program.waitForErrorText("GL_RENDERER: ", 30s)) << program.standardError();
    // The first redraw follows the loading of every package.
    std::size_t drawn = 0;
    for (auto waited = 0ms; waited < 60s && drawn < 100 && program.running(); waited += 100ms) {
        std::this_thread::sleep_for(100ms);
        drawn = drawnPixelsInWatchCorner();
    }
    EXPECT_GE(drawn, 100u) << "the chosen watch was not drawn";
    std::this_thread::sleep_for(2s);
    ASSERT_TRUE(program.running()) << program.standardError();

    const std::string log = program.standardError();
    for (const char* line : {"] Watch package is too large to unpack, skipped: watches/Bomb.7z\n",
                             "] Watch package has more layers than can be seen, the rest skipped: "
                             "watches/ManySections\n"})
        EXPECT_NE(log.find(line), std::string::npos) << line << log;
    EXPECT_EQ(log.find("runtime error"), std::string::npos) << log;
    ASSERT_TRUE(requestWindowClose("Horlox"));
    EXPECT_EQ(program.waitForExit(10s), 0) << program.standardError();
}

INSTANTIATE_TEST_SUITE_P(ShippedWatches, HostilePackagesProgramTest, ::testing::Values("Classic", "Digital", "Pilot"),
                         [](const auto& watch) { return std::string(watch.param); });

}  // namespace
