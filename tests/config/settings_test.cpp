#include <gtest/gtest.h>
#include <filesystem>
#include <string>
#include <tuple>

#include "config/settings.h"
#include "support/test_files.h"

namespace {

namespace fs = std::filesystem;

class SettingsFile : public ::testing::Test {
protected:
    // Loads into settings that differ from the defaults, to see what load changes.
    Settings loadOverChosenValues() {
        Settings settings;
        settings.watchOnRightHand = true;
        settings.initialWatchName = "Before";
        settings.watchVisibility = WatchVisibility::Off;
        settings.placement = {10, 1, 2};
        settings.load(path);
        return settings;
    }

    TemporaryDirectory directory;
    std::string path = directory.path() + "/settings.conf";
};

auto fields(const Settings& s) {
    return std::make_tuple(s.watchOnRightHand, s.initialWatchName, s.watchVisibility, s.placement);
}

// Keys newer than the first two are written only when chosen, so a user who
// never chose them keeps the file as it was.
TEST_F(SettingsFile, SaveWritesWhatLoadReadsBack) {
    Settings settings;
    settings.initialWatchName = "Classic";
    ASSERT_TRUE(settings.save(path));
    EXPECT_EQ(readWholeFile(path), "watchOnRightHand=false\ninitialWatchName=Classic\n");
    settings.watchOnRightHand = true;
    settings.initialWatchName = "  Zifferblatt \xC3\xBC";
    settings.watchVisibility = WatchVisibility::WhenLookedAt;
    settings.placement = {4.5f, -5, 30};
    ASSERT_TRUE(settings.save(path));
    EXPECT_EQ(readWholeFile(path), "watchOnRightHand=true\ninitialWatchName=  Zifferblatt \xC3\xBC\n"
                                   "watchVisibility=whenLookedAt\nwatchWidthCm=4.5\nwatchOffsetCm=-5\n"
                                   "watchTiltDegrees=30\n");
    EXPECT_EQ(fields(loadOverChosenValues()), fields(settings));
    EXPECT_EQ(std::distance(fs::directory_iterator(directory.path()), fs::directory_iterator()), 1)
        << "no temporary file stays behind";
}

// Values are read as the config format reads them, from the unnamed first
// section; absent keys and values out of range give the defaults.
TEST_F(SettingsFile, LoadTakesEachKeysValueOrItsDefault) {
    using V = WatchVisibility;
    const WristPlacement standard;
    const std::tuple<std::string, bool, std::string, WatchVisibility, WristPlacement> files[] = {
        {"", false, "", V::Always, standard},
        {"watchOnRightHand=true", true, "", V::Always, standard},
        {":settings\nwatchOnRightHand=true\ninitialWatchName=Classic\n", false, "", V::Always, standard},
        {"watchOnRightHand=1\ninitialWatchName=First\ninitialWatchName=Second\n", true, "First", V::Always, standard},
        {"watchOnRightHand=yes\n", false, "", V::Always, standard},
        {"watchOnRightHand=true\r\ninitialWatchName=Classic\r\n", true, "Classic\r", V::Always, standard},
        {"watchVisibility=whenLookedAt\nwatchWidthCm=4\nwatchOffsetCm=-5\nwatchTiltDegrees=30\n", false, "",
         V::WhenLookedAt, {4, -5, 30}},
        {"watchVisibility=off\nwatchWidthCm=12\nwatchOffsetCm=5\nwatchTiltDegrees=-30\nfuture=1\n", false, "", V::Off,
         {12, 5, -30}},
        {"watchVisibility=WhenLookedAt\nwatchWidthCm=3.9\nwatchOffsetCm=5.1\nwatchTiltDegrees=-31\n", false, "",
         V::Always, standard},
        {"watchWidthCm=7cm\nwatchOffsetCm= 1\nwatchTiltDegrees=nan\n", false, "", V::Always, standard},
        {"watchWidthCm=inf\nwatchOffsetCm=1e999\nwatchTiltDegrees=0x10\n", false, "", V::Always, standard}};
    for (const auto& [text, right, name, visibility, placement] : files) {
        writeFile(path, text);
        EXPECT_EQ(fields(loadOverChosenValues()), std::make_tuple(right, name, visibility, placement)) << text;
    }
    // A file that cannot be read changes nothing.
    fs::remove(path);
    EXPECT_EQ(loadOverChosenValues().initialWatchName, "Before");
    fs::create_directory(path);
    EXPECT_EQ(loadOverChosenValues().initialWatchName, "Before");
}

TEST_F(SettingsFile, FailedSaveLeavesTheOldFileWhole) {
    const std::string old = "watchOnRightHand=true\ninitialWatchName=Old\n";
    writeFile(path, old);
    const Settings settings;
    fs::create_directory(path + ".tmp");  // the temporary file cannot be made
    EXPECT_FALSE(settings.save(path));
    EXPECT_EQ(readWholeFile(path), old);
    fs::remove(path + ".tmp");

    EXPECT_FALSE(settings.save(directory.path() + "/missing/settings.conf"));
}

}  // namespace
