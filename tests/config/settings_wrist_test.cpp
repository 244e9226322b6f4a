// The visibility and placement keys of "settings.conf".
#include <gtest/gtest.h>

#include "config/settings.h"
#include "support/test_files.h"

namespace {

TEST(SettingsWristTest, EachKeyTakesItsValueOrItsDefault) {
    TemporaryDirectory directory;
    const std::string path = directory.path() + "/settings.conf";
    const struct {
        const char* file;
        WatchVisibility visibility;
        WristPlacement fit;
    } cases[] = {
        // As written before these keys existed.
        {"watchOnRightHand=true\ninitialWatchName=Classic\n", WatchVisibility::Always, {6, 0, 0}},
        {"watchVisibility=whenLookedAt\nwatchWidthCm=4\nwatchOffsetCm=-5\nwatchTiltDegrees=30\n",
         WatchVisibility::WhenLookedAt, {4, -5, 30}},
        {"watchVisibility=off\nwatchWidthCm=12\nwatchOffsetCm=5\nwatchTiltDegrees=-30\nfuture=1\n",
         WatchVisibility::Off, {12, 5, -30}},
        {"watchVisibility=WhenLookedAt\nwatchWidthCm=3.9\nwatchOffsetCm=5.1\nwatchTiltDegrees=-31\n",
         WatchVisibility::Always, {6, 0, 0}},
        {"watchWidthCm=7cm\nwatchOffsetCm= 1\nwatchTiltDegrees=nan\n", WatchVisibility::Always, {6, 0, 0}},
        {"watchWidthCm=inf\nwatchOffsetCm=1e999\nwatchTiltDegrees=0x10\n", WatchVisibility::Always,
         {6, 0, 0}},
    };
    for (const auto& c : cases) {
        writeFile(path, c.file);
        Settings settings;
        settings.watchVisibility = WatchVisibility::Off;
        settings.placement = {10, 1, 2};
        settings.load(path);
        EXPECT_EQ(settings.watchVisibility, c.visibility) << c.file;
        EXPECT_EQ(settings.placement, c.fit) << c.file;
    }
}

}  // namespace
