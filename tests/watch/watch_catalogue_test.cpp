#include <gtest/gtest.h>

#include <filesystem>

#include "config/settings.h"
#include "support/gl_test_context.h"
#include "support/package_files.h"
#include "support/temporary_directory.h"
#include "watch/watch_catalogue.h"

namespace {

class WatchCatalogueTest : public ::testing::Test {
protected:
    void SetUp() override { ensureGlContext(); }

    std::string watchesFolder() const { return scratch.path() + "/watches"; }

    void addFolderWatch(const std::string& package, const std::string& config) {
        writeFile(watchesFolder() + "/" + package + "/config", config);
    }

    void addArchiveWatch(const std::string& package, const std::string& config) {
        const std::string folder = scratch.path() + "/unpacked-" + package;
        writeFile(folder + "/config", config);
        ASSERT_TRUE(packWith7Zip(folder, watchesFolder() + "/" + package));
    }

    TemporaryDirectory scratch;
    Settings settings;
};

std::string nameOf(const WatchListing* watch) { return watch ? watch->name : "(none)"; }

TEST_F(WatchCatalogueTest, WatchesAreOrderedByTheirOwnNamesByteWise) {
    addArchiveWatch("b.7z", ":watch\nname=Zeta\n");
    addFolderWatch("a", ":watch\nname=Alpha\n");
    addFolderWatch("c", ":watch\nname=alpha\n");
    addFolderWatch("d", ":watch\nname=Beta\n");
    const WatchCatalogue catalogue(settings, nullptr, watchesFolder());

    EXPECT_EQ(catalogue.count(), 4u);
    EXPECT_EQ(nameOf(catalogue.first()), "Alpha");
    EXPECT_EQ(settings.initialWatchName, "Alpha");
    EXPECT_EQ(nameOf(catalogue.next("Alpha")), "Beta");
    EXPECT_EQ(nameOf(catalogue.next("Beta")), "Zeta");
    EXPECT_EQ(nameOf(catalogue.next("Zeta")), "alpha");
    EXPECT_EQ(nameOf(catalogue.next("alpha")), "(none)");
    EXPECT_EQ(nameOf(catalogue.previous("Zeta")), "Beta");
    EXPECT_EQ(nameOf(catalogue.previous("Alpha")), "(none)");
    EXPECT_EQ(nameOf(catalogue.find("Zeta")), "Zeta");
    EXPECT_EQ(catalogue.find("zeta"), nullptr);
}

TEST_F(WatchCatalogueTest, OfTwoPackagesWithOneNameTheFirstListedWins) {
    addFolderWatch("one", ":watch\nname=Classic\ndescription=from one\n");
    addFolderWatch("two", ":watch\nname=Classic\ndescription=from two\n");
    const std::string firstListed =
        std::filesystem::directory_iterator(watchesFolder())->path().filename().string();
    const WatchCatalogue catalogue(settings, nullptr, watchesFolder());
    ASSERT_EQ(catalogue.count(), 1u);
    EXPECT_EQ(catalogue.find("Classic")->description, "from " + firstListed);
}

TEST_F(WatchCatalogueTest, ChosenWatchIsKeptEvenWhenNoLongerInstalled) {
    addFolderWatch("a", ":watch\nname=Alpha\n");
    addFolderWatch("b", ":watch\nname=Beta\n");
    settings.initialWatchName = "Gone";
    const WatchCatalogue catalogue(settings, nullptr, watchesFolder());
    EXPECT_EQ(settings.initialWatchName, "Gone");
    EXPECT_EQ(catalogue.find("Gone"), nullptr);
    EXPECT_EQ(catalogue.previous("Gone"), nullptr);
    EXPECT_EQ(catalogue.next("Gone"), nullptr);
}

TEST_F(WatchCatalogueTest, PackagesThatGiveNoNameShareTheEmptyName) {
    addFolderWatch("named", ":watch\nname=Named\n");
    writeFile(watchesFolder() + "/no-config/face.png", "not even a png");
    writeFile(watchesFolder() + "/stray.txt", "not an archive");
    const WatchCatalogue catalogue(settings, nullptr, watchesFolder());
    EXPECT_EQ(catalogue.count(), 2u);
    EXPECT_NE(catalogue.find(""), nullptr);
    EXPECT_EQ(settings.initialWatchName, "");  // the empty name sorts first
}

TEST_F(WatchCatalogueTest, WithoutAnyWatchTheProgramEnds) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(WatchCatalogue(settings, nullptr, watchesFolder()), ::testing::ExitedWithCode(1),
                "^No watches found!\n$");
    std::filesystem::create_directories(watchesFolder());
    EXPECT_EXIT(WatchCatalogue(settings, nullptr, watchesFolder()), ::testing::ExitedWithCode(1),
                "^No watches found!\n$");
}

}  // namespace
