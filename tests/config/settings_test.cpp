#include <gtest/gtest.h>
#include <csignal>
#include <filesystem>
#include <string>
#include <sys/resource.h>

#include "config/settings.h"
#include "support/test_files.h"

namespace {

namespace fs = std::filesystem;

class SettingsFile : public ::testing::Test {
protected:
    // Loads into settings that differ from the defaults, to see what load changes.
    std::pair<bool, std::string> loadOverChosenValues() {
        Settings settings;
        settings.watchOnRightHand = true;
        settings.initialWatchName = "Before";
        settings.load(path);
        return {settings.watchOnRightHand, settings.initialWatchName};
    }

    TemporaryDirectory directory;
    std::string path = directory.path() + "/settings.conf";
};

TEST_F(SettingsFile, SaveWritesTheTwoLinesThatLoadReadsBack) {
    Settings settings;
    settings.initialWatchName = "Classic";
    ASSERT_TRUE(settings.save(path));
    EXPECT_EQ(readWholeFile(path), "watchOnRightHand=false\ninitialWatchName=Classic\n");
    settings.watchOnRightHand = true;
    settings.initialWatchName = "  Zifferblatt \xC3\xBC";
    ASSERT_TRUE(settings.save(path));
    EXPECT_EQ(readWholeFile(path), "watchOnRightHand=true\ninitialWatchName=  Zifferblatt \xC3\xBC\n");
    EXPECT_EQ(loadOverChosenValues(), std::make_pair(true, settings.initialWatchName));
    EXPECT_EQ(std::distance(fs::directory_iterator(directory.path()), fs::directory_iterator()), 1)
        << "no temporary file stays behind";
}

TEST_F(SettingsFile, LoadReadsValuesAsTheConfigFormatDoesWithFallbacksForAbsentKeys) {
    const std::pair<std::string, std::pair<bool, std::string>> files[] = {
        {"", {false, ""}},
        {"watchOnRightHand=true", {true, ""}},
        {":settings\nwatchOnRightHand=true\ninitialWatchName=Classic\n", {false, ""}},
        {"watchOnRightHand=1\ninitialWatchName=First\ninitialWatchName=Second\n", {true, "First"}},
        {"watchOnRightHand=yes\n", {false, ""}},
        {"watchOnRightHand=true\r\ninitialWatchName=Classic\r\n", {true, "Classic\r"}},
    };
    for (const auto& [text, loaded] : files) {
        writeFile(path, text);
        EXPECT_EQ(loadOverChosenValues(), loaded) << text;
    }
    // A file that cannot be read changes nothing.
    fs::remove(path);
    EXPECT_EQ(loadOverChosenValues(), std::make_pair(true, std::string("Before")));
    fs::create_directory(path);
    EXPECT_EQ(loadOverChosenValues(), std::make_pair(true, std::string("Before")));
}

TEST_F(SettingsFile, FailedSaveLeavesTheOldFileWhole) {
    const std::string old = "watchOnRightHand=true\ninitialWatchName=Old\n";
    writeFile(path, old);
    Settings settings;
    settings.initialWatchName = "New";

    // The temporary file cannot be made.
    fs::create_directory(path + ".tmp");
    EXPECT_FALSE(settings.save(path));
    EXPECT_EQ(readWholeFile(path), old);
    fs::remove(path + ".tmp");

    // The disk fills up part way through the temporary file.
    rlimit previous;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    rlimit small = previous;
    small.rlim_cur = 10;
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved = settings.save(path);
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_FALSE(saved);
    EXPECT_EQ(readWholeFile(path), old);
    EXPECT_FALSE(fs::exists(path + ".tmp"));
    EXPECT_FALSE(settings.save(directory.path() + "/missing/settings.conf"));
}

}  // namespace
