// A disk that fills up, which only POSIX lets a test simulate (RLIMIT_FSIZE).
#include <gtest/gtest.h>
#include <csignal>
#include <filesystem>
#include <sys/resource.h>

#include "config/settings.h"
#include "support/test_files.h"

namespace {

TEST(SettingsFileOnPosix, DiskFullPartWayLeavesTheOldFileWhole) {
    TemporaryDirectory directory;
    const std::string path = directory.path() + "/settings.conf";
    const std::string old = "watchOnRightHand=true\ninitialWatchName=Old\n";
    writeFile(path, old);
    Settings settings;
    settings.initialWatchName = "New";

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
    EXPECT_EQ(settings.saveFailure, path + " cannot be written: the disk is full");
    EXPECT_EQ(readWholeFile(path), old);
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
}

}  // namespace
