#include <gtest/gtest.h>
#include <filesystem>
#include <tuple>

#include "config/settings.h"
#include "support/gl_test_context.h"
#include "support/test_files.h"
#include "support/watch_package_fixture.h"
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

TEST_F(WatchCatalogueTest, WatchesAreOrderedByNameByteWiseAndTheChosenOneIsKept) {
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

    // A chosen watch is kept even when it is no longer installed; no neighbours.
    settings.initialWatchName = "Gone";
    const WatchCatalogue again(settings, nullptr, watches);
    EXPECT_EQ(std::make_tuple(settings.initialWatchName, again.find("Gone"), again.previous("Gone"), again.next("Gone")),
              std::make_tuple(std::string("Gone"), nullptr, nullptr, nullptr));
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

int liveTextures() {
    int live = 0;
    for (GLuint name = 1; name < 4096; ++name) live += glIsTexture(name) ? 1 : 0;
    return live;
}

// Listing loads nothing; loading a watch first gives back what the one before
// held. A text's texture counts only once drawn.
TEST_F(WatchCatalogueTest, OnlyTheCurrentWatchIsLoaded) {
    const std::uint8_t red[] = {255, 0, 0, 255};
    for (const char* package : {"/A/face.png", "/B/face.png"}) writeFile(watches + package, pngOfColour(4, 4, 4, red));
    writeFile(watches + "/B/font.ttf", dejaVuSansBytes());
    add("A", ":watch\nname=Alpha\n:face\nfile=face.png\n");
    add("B", ":watch\nname=Beta\n:face\nfile=face.png\n:text\nfontfamily=font.ttf\n");
    const int before = liveTextures();
    WatchCatalogue catalogue(settings, testFontLibrary(), watches);
    EXPECT_EQ(liveTextures(), before);
    const Watch* alpha = catalogue.load("Alpha");
    ASSERT_NE(alpha, nullptr);
    EXPECT_EQ(std::make_pair(alpha->name, liveTextures()), std::make_pair(std::string("Alpha"), before + 1));
    EXPECT_EQ(catalogue.load("Alpha"), alpha) << "not loaded again";
    const Watch* beta = catalogue.load("Beta");
    ASSERT_NE(beta, nullptr);
    EXPECT_EQ(std::make_tuple(beta->name, beta->elements.size(), liveTextures()),
              std::make_tuple(std::string("Beta"), std::size_t{2}, before + 1));
    EXPECT_EQ(catalogue.load("Gone"), nullptr);
    EXPECT_EQ(liveTextures(), before);
}

TEST_F(WatchCatalogueTest, WithoutAnyWatchTheProgramEnds) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(WatchCatalogue(settings, nullptr, watches), ::testing::ExitedWithCode(1), "^No watches found!\n$");
    std::filesystem::create_directories(watches);
    EXPECT_EXIT(WatchCatalogue(settings, nullptr, watches), ::testing::ExitedWithCode(1), "^No watches found!\n$");
}

}  // namespace
