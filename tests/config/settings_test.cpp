#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "config/settings.h"
#include "support/temporary_directory.h"

namespace {

namespace fs = std::filesystem;

class SettingsFile : public ::testing::Test {
protected:
    void write(const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

    // Loads into settings that differ from the defaults, to see what load changes.
    Settings loadOverChosenValues() {
        Settings settings;
        settings.watchOnRightHand = true;
        settings.initialWatchName = "Before";
        settings.load(path);
        return settings;
    }

    TemporaryDirectory directory;
    std::string path = directory.path() + "/settings.conf";
};

TEST_F(SettingsFile, SaveWritesTheTwoLinesExactly) {
    Settings settings;
    settings.initialWatchName = "Classic";
    ASSERT_TRUE(settings.save(path));
    EXPECT_EQ(readWholeFile(path), "watchOnRightHand=false\ninitialWatchName=Classic\n");

    settings.watchOnRightHand = true;
    settings.initialWatchName.clear();
    ASSERT_TRUE(settings.save(path));
    EXPECT_EQ(readWholeFile(path), "watchOnRightHand=true\ninitialWatchName=\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(directory.path()), fs::directory_iterator()), 1)
        << "no temporary file stays behind";
}

TEST_F(SettingsFile, SavedChoicesLoadBackUnchanged) {
    Settings saved;
    saved.watchOnRightHand = true;
    saved.initialWatchName = "  Zifferblatt \xC3\xBC";
    ASSERT_TRUE(saved.save(path));

    Settings loaded;
    loaded.load(path);
    EXPECT_TRUE(loaded.watchOnRightHand);
    EXPECT_EQ(loaded.initialWatchName, saved.initialWatchName);
}

TEST_F(SettingsFile, LoadKeepsEveryValueWhenTheFileCannotBeRead) {
    Settings missing = loadOverChosenValues();
    EXPECT_TRUE(missing.watchOnRightHand);
    EXPECT_EQ(missing.initialWatchName, "Before");

    fs::create_directory(path);
    Settings folder = loadOverChosenValues();
    EXPECT_TRUE(folder.watchOnRightHand);
    EXPECT_EQ(folder.initialWatchName, "Before");
}

TEST_F(SettingsFile, LoadUsesTheFallbacksForAbsentKeys) {
    write("");
    Settings empty = loadOverChosenValues();
    EXPECT_FALSE(empty.watchOnRightHand);
    EXPECT_EQ(empty.initialWatchName, "");

    write("watchOnRightHand=true");
    Settings handOnly = loadOverChosenValues();
    EXPECT_TRUE(handOnly.watchOnRightHand);
    EXPECT_EQ(handOnly.initialWatchName, "");

    write(":settings\nwatchOnRightHand=true\ninitialWatchName=Classic\n");
    Settings afterSection = loadOverChosenValues();
    EXPECT_FALSE(afterSection.watchOnRightHand);
    EXPECT_EQ(afterSection.initialWatchName, "");
}

TEST_F(SettingsFile, LoadReadsValuesAsTheConfigFormatDoes) {
    write("watchOnRightHand=1\ninitialWatchName=First\ninitialWatchName=Second\n");
    Settings settings = loadOverChosenValues();
    EXPECT_TRUE(settings.watchOnRightHand);
    EXPECT_EQ(settings.initialWatchName, "First");

    write("watchOnRightHand=yes\n");
    EXPECT_FALSE(loadOverChosenValues().watchOnRightHand);

    write("watchOnRightHand=true\r\ninitialWatchName=Classic\r\n");
    settings = loadOverChosenValues();
    EXPECT_TRUE(settings.watchOnRightHand);
    EXPECT_EQ(settings.initialWatchName, "Classic\r");
}

TEST_F(SettingsFile, FailedSaveLeavesTheOldFileWhole) {
    const std::string old = "watchOnRightHand=true\ninitialWatchName=Old\n";
    write(old);
    Settings settings;
    settings.initialWatchName = "New";

    // The temporary file cannot be made.
    fs::create_directory(path + ".tmp");
    EXPECT_FALSE(settings.save(path));
    EXPECT_EQ(readWholeFile(path), old);
    fs::remove(path + ".tmp");

    EXPECT_FALSE(settings.save(directory.path() + "/missing/settings.conf"));
}

}  // namespace
