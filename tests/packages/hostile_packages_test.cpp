// Every hostile package loads into a watch without its bad layers, and the
// catalogue keeps the good watches beside them.
#include <gtest/gtest.h>

#include <filesystem>

#include "config/settings.h"
#include "platform/log.h"
#include "support/debug_output_capture.h"
#include "support/hostile_packages.h"
#include "support/package_files.h"
#include "support/watch_package_fixture.h"
#include "watch/watch_catalogue.h"

namespace {

namespace fs = std::filesystem;

class HostilePackagesTest : public WatchPackageTest {
protected:
    void SetUp() override {
        WatchPackageTest::SetUp();
        installHostilePackages(watchesFolder());
    }

    std::string watchesFolder() const { return scratch.path() + "/watches"; }
    Watch& loadPackage(const std::string& package) { return load(watchesFolder() + "/" + package); }
};

TEST_F(HostilePackagesTest, BrokenImagesAndFontsLeaveTheirLayersOut) {
    const std::pair<const char*, const char*> packages[] = {
        {"TruncatedPng", "Hostile Truncated PNG"},
        {"HugePngHeader", "Hostile Huge PNG Header"},
        {"GarbageFont", "Hostile Garbage Font"},
    };
    for (const auto& [package, name] : packages) {
        const Watch& watch = loadPackage(package);
        EXPECT_EQ(watch.name, name);
        EXPECT_TRUE(watch.elements.empty()) << package;
        EXPECT_TRUE(watch.shader.linked) << package;
    }
}

TEST_F(HostilePackagesTest, FolderPackagesReadNothingOutsideTheirFolder) {
    ASSERT_TRUE(fs::is_regular_file(outsideImagePath(watchesFolder())));
    const Watch& watch = loadPackage("EscapingNames");
    EXPECT_EQ(watch.name, "Hostile Escaping Names");
    EXPECT_TRUE(watch.elements.empty());
}

// An archive's names are only keys: "../dial.png" and "/dial.png" are its own
// entries, and nothing of it is written anywhere.
TEST_F(HostilePackagesTest, ArchiveNamesThatLeadOutsideStayNames) {
    const fs::path beside = fs::path(watchesFolder()).parent_path() / "dial.png";
    const Watch& watch = loadPackage("ArchiveNames.7z");
    EXPECT_EQ(watch.name, "Hostile Archive Names");
    EXPECT_EQ(watch.elements.size(), 2u);
    EXPECT_FALSE(fs::exists(beside));
}

TEST_F(HostilePackagesTest, DamagedArchiveKeepsItsConfigAndBombIsRefused) {
    const Watch& damaged = loadPackage("DamagedArchive.7z");
    EXPECT_EQ(damaged.name, "Hostile Damaged Archive");
    EXPECT_TRUE(damaged.elements.empty());

    // A kilobyte that unpacks to a gigabyte.
    const std::string bomb = watchesFolder() + "/Bomb.7z";
    ASSERT_LT(fs::file_size(bomb), 4096u);
    loggingEnabled = true;
    DebugOutputCapture output;
    const Watch& bombWatch = load(bomb);
    loggingEnabled = false;
    EXPECT_EQ(bombWatch.name, "");
    EXPECT_TRUE(bombWatch.elements.empty());
    EXPECT_NE(output.text().find("Watch package is too large to unpack, skipped: " + bomb + "\n"),
              std::string::npos)
        << output.text();
}

// Bytes are taken as they are: UTF-16 text and a 10 MB line are no sections.
TEST_F(HostilePackagesTest, ConfigsThatAreNoConfigTextGiveEmptyWatches) {
    ASSERT_EQ(fs::file_size(watchesFolder() + "/LongLine/config"), 10'000'012u);
    for (const char* package : {"Utf16Config", "LongLine"}) {
        const Watch& watch = loadPackage(package);
        EXPECT_EQ(watch.name, "") << package;
        EXPECT_TRUE(watch.elements.empty()) << package;
    }
}

// Layers from the 201st on could never be seen; a package asking for 10000
// would cost seconds and gigabytes.
TEST_F(HostilePackagesTest, LayersPastTheVisibleOnesAreNotLoaded) {
    loggingEnabled = true;
    DebugOutputCapture output;
    const Watch& watch = loadPackage("ManySections");
    loggingEnabled = false;
    EXPECT_EQ(watch.name, "Hostile Many Sections");
    ASSERT_EQ(watch.elements.size(), 200u);
    const ElementType cycle[] = {ElementType::Face, ElementType::Hand, ElementType::Text};
    for (size_t i = 0; i < watch.elements.size(); ++i)
        ASSERT_EQ(watch.elements[i].type, cycle[i % 3]) << i;
    EXPECT_NE(output.text().find("] Watch package has more layers than can be seen, the rest skipped: " +
                                 watchesFolder() + "/ManySections\n"),
              std::string::npos)
        << output.text();
}

// A watch's layers hold at most 256 MiB: two copies of a 120 MiB font and a
// 16 MiB image fill it to the byte, so a third copy and one more pixel do not fit.
TEST_F(HostilePackagesTest, ImagesAndFontsOfOneWatchAreBoundedInMemory) {
    std::string font = dejaVuSansBytes();
    font.resize(std::size_t{120} << 20);
    add("font.ttf", font);
    const std::uint8_t grey[] = {128};
    add("large.png", pngOfColour(2048, 2048, 1, grey));
    add("dot.png", pngOfColour(1, 1, 1, grey));
    add("config",
        ":text\nfontfamily=font.ttf\n:text\nfontfamily=font.ttf\n:text\nfontfamily=font.ttf\n"
        ":face\nfile=large.png\n:face\nfile=dot.png\n");
    loggingEnabled = true;
    DebugOutputCapture output;
    const Watch& watch = load();
    loggingEnabled = false;
    ASSERT_EQ(watch.elements.size(), 3u);
    EXPECT_EQ(watch.elements[2].type, ElementType::Face);
    EXPECT_NE(output.text().find("] Watch package's images and fonts need too much memory, layers skipped: " +
                                 packagePath() + "\n"),
              std::string::npos)
        << output.text();
}

}  // namespace
