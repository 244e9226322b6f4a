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

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Offline, the 256 x 256 watch image lands in the lower-left corner of the
// 1280 x 720 window.
constexpr int watchSide = 256;
constexpr int windowHeight = 720;

// Pixels that are neither black nor white: the anti-aliased edges of a drawn
// watch have them; an undrawn window shows black, or the screen's black and
// white pattern, only.
size_t drawnPixelsInWatchCorner() {
    const std::vector<std::uint32_t> pixels =
        readWindowPixels("Horlox", 0, windowHeight - watchSide, watchSide, watchSide);
    return size_t(std::count_if(pixels.begin(), pixels.end(),
                                [](std::uint32_t rgb) { return rgb != 0 && rgb != 0xFFFFFF; }));
}

class HostilePackagesProgramTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        fs::copy(std::string(HORLOX_RUN_DIR) + "/watches", watches(), fs::copy_options::recursive);
        installHostilePackages(watches());
        writeFile(workingDirectory.path() + "/settings.conf",
                  std::string("watchOnRightHand=false\ninitialWatchName=") + GetParam() + "\n");
    }

    std::string watches() const { return workingDirectory.path() + "/watches"; }

    TemporaryDirectory workingDirectory;
};

TEST_P(HostilePackagesProgramTest, DrawsTheChosenShippedWatchAndEndsCleanly) {
    ChildProcess program(HORLOX_BINARY, {"--offline"}, workingDirectory.path());
    ASSERT_TRUE(program.waitForErrorText("GL_RENDERER: ", 30s)) << program.standardError();

    // The first redraw follows the listing of every package.
    size_t drawn = 0;
    for (auto waited = 0ms; waited < 60s && drawn < 100 && program.running(); waited += 100ms) {
        std::this_thread::sleep_for(100ms);
        drawn = drawnPixelsInWatchCorner();
    }
    EXPECT_GE(drawn, 100u) << "the chosen watch was not drawn";
    std::this_thread::sleep_for(2s);
    ASSERT_TRUE(program.running()) << program.standardError();

    const std::string log = program.standardError();
    // Listing every package unpacks the bomb; the other hostile packages are
    // loaded, and tell of their faults, only once chosen.
    EXPECT_NE(log.find("] Watch package is too large to unpack, skipped: watches/Bomb.7z\n"),
              std::string::npos)
        << log;
    EXPECT_EQ(log.find("runtime error"), std::string::npos) << log;

    ASSERT_TRUE(requestWindowClose("Horlox"));
    EXPECT_EQ(program.waitForExit(10s), 0) << program.standardError();
}

INSTANTIATE_TEST_SUITE_P(ShippedWatches, HostilePackagesProgramTest,
                         ::testing::Values("Classic", "Digital", "Pilot"),
                         [](const auto& watch) { return std::string(watch.param); });

}  // namespace
