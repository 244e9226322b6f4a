// The committed pictures of the shipped watches (docs/pictures, made by
// scripts/render-pictures) against a fresh drawing of each: a change to the
// drawing or to a watch fails here until its picture is drawn anew, and so
// does a shipped watch without a picture or a picture of no shipped watch.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "support/child_process.h"
#include "support/test_files.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

const std::string committed = HORLOX_SOURCE_DIR "/docs/pictures";

std::set<std::string> picturesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == ".png") names.insert(entry.path().filename().string());
    return names;
}

// A picture counts as unchanged when no channel of 99.5 % of its pixels
// differs by more than 8 from the fresh drawing.
double shareDrawnAlike(const Image& fresh, const Image& picture) {
    std::size_t alike = 0;
    for (int row = 0; row < fresh.height; ++row)
        for (int x = 0; x < fresh.width; ++x) alike += nearlyEqual(fresh.at(x, row), picture.at(x, row), 8);
    return double(alike) / double(fresh.width * fresh.height);
}

TEST(WatchPicturesTest, EveryShippedWatchLooksAsItsCommittedPicture) {
    TemporaryDirectory directory;
    const std::string fresh = directory.path() + "/pictures";
    const std::string build = fs::path(HORLOX_RUN_DIR).parent_path().string();
    ChildProcess render(HORLOX_SOURCE_DIR "/scripts/render-pictures", {build, fresh}, directory.path());
    ASSERT_EQ(render.waitForExit(120s), 0) << render.standardError();

    const std::set<std::string> names = picturesIn(fresh);
    EXPECT_EQ(names.size(), 4u);
    EXPECT_EQ(names, picturesIn(committed)) << "one picture per shipped watch: run scripts/render-pictures";
    for (const std::string& name : names) {
        const Image drawn = readPng(fresh + "/" + name), picture = readPng(committed + "/" + name);
        ASSERT_EQ(std::make_pair(drawn.width, drawn.height), std::make_pair(picture.width, picture.height)) << name;
        EXPECT_GE(shareDrawnAlike(drawn, picture), 0.995) << name << " has drifted from its picture";
    }
}

}  // namespace
