// Every hostile package loads into a watch without its bad layers.
#include <gtest/gtest.h>
#include <filesystem>
#include <tuple>

#include "support/debug_output_capture.h"
#include "support/hostile_packages.h"
#include "support/test_files.h"
#include "support/watch_package_fixture.h"

namespace {

namespace fs = std::filesystem;

class HostilePackagesTest : public WatchPackageTest {
protected:
    void SetUp() override {
        WatchPackageTest::SetUp();
        installHostilePackages(watches);
    }
    const std::string watches = scratch.path() + "/watches";
    const LogCapture log;  // on, as in the program
};

// Broken images and fonts, names that lead out of a folder, damage and bytes
// that are no config text leave layers out. An archive's names are only keys:
// "../dial.png" and "/dial.png" are its own entries, and nothing is written.
TEST_F(HostilePackagesTest, BadLayersAreLeftOutAndNothingOutsideIsReadOrWritten) {
    ASSERT_TRUE(fs::is_regular_file(outsideImagePath(watches)));
    ASSERT_EQ(fs::file_size(watches + "/LongLine/config"), 10'000'012u);
    const std::tuple<const char*, const char*, std::size_t> packages[] = {
        {"TruncatedPng", "Hostile Truncated PNG", 0},   {"HugePngHeader", "Hostile Huge PNG Header", 0},
        {"GarbageFont", "Hostile Garbage Font", 0},     {"EscapingNames", "Hostile Escaping Names", 0},
        {"ArchiveNames.7z", "Hostile Archive Names", 2}, {"DamagedArchive.7z", "Hostile Damaged Archive", 0},
        {"Utf16Config", "", 0},                         {"LongLine", "", 0},
        {"DuplicateEntries.7z", "Hostile Duplicate Entries", 0}};  // the later of two configs
    for (const auto& [package, name, layers] : packages) {
        const Watch& watch = load(watches + "/" + package);
        EXPECT_EQ(watch.name, name);
        EXPECT_EQ(watch.elements.size(), layers) << package;
        EXPECT_TRUE(watch.shader.linked) << package;
    }
    EXPECT_FALSE(fs::exists(scratch.path() + "/dial.png"));
}

// Layers from the 201st on could never be seen; a package asking for 10000
// would cost seconds and gigabytes.
TEST_F(HostilePackagesTest, LayersPastTheVisibleOnesAreNotLoaded) {
    const Watch& watch = load(watches + "/ManySections");
    EXPECT_EQ(watch.name, "Hostile Many Sections");
    ASSERT_EQ(watch.elements.size(), 200u);
    const ElementType cycle[] = {ElementType::Face, ElementType::Hand, ElementType::Text};
    for (std::size_t i = 0; i < watch.elements.size(); ++i) ASSERT_EQ(watch.elements[i].type, cycle[i % 3]) << i;
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
    add("config", ":text\nfontfamily=font.ttf\n:text\nfontfamily=font.ttf\n:text\nfontfamily=font.ttf\n"
                  ":face\nfile=large.png\n:face\nfile=dot.png\n");
    const Watch& watch = load(packagePath());
    ASSERT_EQ(watch.elements.size(), 3u);
    GLint width = 0;  // the large image, not the dot
    glBindTexture(GL_TEXTURE_2D, watch.elements[2].texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(std::make_pair(watch.elements[2].type, width), std::make_pair(ElementType::Face, 2048));
}

}  // namespace
