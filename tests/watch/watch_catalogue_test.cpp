#include <gtest/gtest.h>
#include <filesystem>

#include "config/settings.h"
#include "support/gl_test_context.h"
#include "support/test_files.h"
#include "watch/watch_catalogue.h"

namespace {

class WatchCatalogueTest : public ::testing::Test {
protected:
    void SetUp() override { ensureGlContext(); }
    void add(const std::string& package, const std::string& config) {
        writeFile(watches + "/" + package + "/config", config);
    }

    TemporaryDirectory scratch;
    const std::string watches = scratch.path() + "/watches";
    Settings settings;
};

std::string nameOf(const WatchListing* watch) { return watch ? watch->name : "(none)"; }

TEST_F(WatchCatalogueTest, WatchesAreOrderedByTheirOwnNamesByteWise) {
    writeFile(scratch.path() + "/unpacked/config", ":watch\nname=Zeta\n");
    ASSERT_TRUE(packWith7Zip(scratch.path() + "/unpacked", watches + "/b.7z"));
    add("a", ":watch\nname=Alpha\n");
    add("c", ":watch\nname=alpha\n");
    add("d", ":watch\nname=Beta\n");
    const WatchCatalogue catalogue(settings, nullptr, watches);
    EXPECT_EQ(catalogue.count(), 4u);
    EXPECT_EQ(nameOf(catalogue.first()), "Alpha");
    EXPECT_EQ(settings.initialWatchName, "Alpha");
    const std::vector<std::string> order = {"(none)", "Alpha", "Beta", "Zeta", "alpha", "(none)"};
    for (std::size_t i = 1; i + 1 < order.size(); ++i) {
        EXPECT_EQ(nameOf(catalogue.next(order[i])), order[i + 1]);
        EXPECT_EQ(nameOf(catalogue.previous(order[i])), order[i - 1]);
        EXPECT_EQ(nameOf(catalogue.find(order[i])), order[i]);
    }
    EXPECT_EQ(catalogue.find("zeta"), nullptr);
}

// Of two packages with one name the first listed wins; packages that give no
// name share the empty name, which sorts first.
TEST_F(WatchCatalogueTest, PackagesShareANameWithTheFirstListed) {
    add("one", ":watch\nname=Classic\ndescription=from one\n");
    add("two", ":watch\nname=Classic\ndescription=from two\n");
    writeFile(watches + "/no-config/face.png", "not even a png");
    writeFile(watches + "/stray.txt", "not an archive");
    std::string firstListed;
    for (const auto& entry : std::filesystem::directory_iterator(watches)) {
        const std::string name = entry.path().filename().string();
        if (firstListed.empty() && (name == "one" || name == "two")) firstListed = name;
    }
    const WatchCatalogue catalogue(settings, nullptr, watches);
    ASSERT_EQ(catalogue.count(), 2u);
    EXPECT_EQ(catalogue.find("Classic")->description, "from " + firstListed);
    EXPECT_NE(catalogue.find(""), nullptr);
    EXPECT_EQ(settings.initialWatchName, "");
}

TEST_F(WatchCatalogueTest, ChosenWatchIsKeptEvenWhenNoLongerInstalled) {
    add("a", ":watch\nname=Alpha\n");
    add("b", ":watch\nname=Beta\n");
    settings.initialWatchName = "Gone";
    const WatchCatalogue catalogue(settings, nullptr, watches);
    EXPECT_EQ(settings.initialWatchName, "Gone");
    EXPECT_EQ(catalogue.find("Gone"), nullptr);
    EXPECT_EQ(catalogue.previous("Gone"), nullptr);
    EXPECT_EQ(catalogue.next("Gone"), nullptr);
}

TEST_F(WatchCatalogueTest, WithoutAnyWatchTheProgramEnds) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(WatchCatalogue(settings, nullptr, watches), ::testing::ExitedWithCode(1), "^No watches found!\n$");
    std::filesystem::create_directories(watches);
    EXPECT_EXIT(WatchCatalogue(settings, nullptr, watches), ::testing::ExitedWithCode(1), "^No watches found!\n$");
}

}  // namespace
