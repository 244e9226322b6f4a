#include <gtest/gtest.h>
#include <array>
#include <tuple>
#include <vector>

#include "support/test_files.h"
#include "support/watch_package_fixture.h"
#include "watch/watch_loader.h"

namespace {

const std::uint8_t opaqueRed[] = {255, 0, 0, 255};

using WatchLoaderTest = WatchPackageTest;

std::vector<ElementType> typesOf(const Watch& watch) {
    std::vector<ElementType> types;
    for (const WatchElement& element : watch.elements) types.push_back(element.type);
    return types;
}

TEST_F(WatchLoaderTest, EverySectionBecomesALayerInFileOrder) {
    add("dial.png", pngOfColour(8, 8, 4, opaqueRed));
    add("hand.png", pngOfColour(4, 16, 4, opaqueRed));
    add("digits.ttf", dejaVuSansBytes());
    add("config",
        ":watch\nname=Classic\ndescription=Steel dial\n"
        ":face\nfile=dial.png\nmirrorOnRight=1\n"
        ":Face\nfile=dial.png\n"
        ":hand\nfile=hand.png\nbind=hours\nmovement=continuous\ncenter=2,3.5\n"
        ":hand\nfile=hand.png\nbind=MINUTE\ncenter=1\n"
        ":text\nfontfamily=digits.ttf\nfontsize=12\ncenter=100,190\ntext=%d.%m.\n"
        ":other\nfile=dial.png\n");
    const Watch& watch = load();
    EXPECT_EQ(std::tie(watch.name, watch.description), std::make_tuple("Classic", "Steel dial"));
    ASSERT_EQ(typesOf(watch),
              (std::vector<ElementType>{ElementType::Face, ElementType::Hand, ElementType::Hand, ElementType::Text}));
    EXPECT_TRUE(watch.elements[0].mirrorOnRight);
    const WatchElement &hour = watch.elements[1], &minute = watch.elements[2], &date = watch.elements[3];
    EXPECT_EQ(std::tie(hour.bind, hour.continuous, hour.center.x, hour.center.y),
              std::make_tuple(HandBinding::Hour, true, 2.0f, 3.5f));
    EXPECT_EQ(std::tie(minute.bind, minute.continuous, minute.center.y), std::make_tuple(HandBinding::Minute, false, 0.0f));
    EXPECT_EQ(std::tie(date.text, date.textCenter.x, date.textCenter.y, date.fontSize),
              std::make_tuple("%d.%m.", 100, 190, 18u));
    ASSERT_TRUE(date.fontFace);
    EXPECT_EQ(date.fontFace->size->metrics.y_ppem, 18);
    EXPECT_NE(date.texture, 0u);
}

// Absent keys read as empty, and a size of 0 asks FreeType for 1 pixel; sizes
// past 65535 pixels and texts past 63 bytes are cut.
TEST_F(WatchLoaderTest, FontSizesAndTextsAreBounded) {
    add("font.ttf", dejaVuSansBytes());
    add("config", ":text\nfontfamily=font.ttf\n:text\nfontfamily=font.ttf\nfontsize=50000\ntext=" +
                      std::string(70, 'x') + "\n");
    const Watch& watch = load();
    ASSERT_EQ(watch.elements.size(), 2u);
    EXPECT_EQ(std::tie(watch.elements[0].text, watch.elements[0].fontFace->size->metrics.y_ppem),
              std::make_tuple("", 1));
    EXPECT_EQ(std::tie(watch.elements[1].fontSize, watch.elements[1].fontFace->size->metrics.y_ppem),
              std::make_tuple(75259u, 65535));
    EXPECT_EQ(watch.elements[1].text, std::string(63, 'x'));
}

TEST_F(WatchLoaderTest, ImagesBecomeRgbaKeepingTheirAlpha) {
    const std::uint8_t grey[] = {90}, translucent[] = {10, 20, 30, 40};
    add("grey.png", pngOfColour(2, 2, 1, grey));
    add("translucent.png", pngOfColour(2, 2, 4, translucent));
    add("config", ":face\nfile=grey.png\n:face\nfile=translucent.png\n");
    const Watch& watch = load();
    ASSERT_EQ(watch.elements.size(), 2u);
    for (const auto& [element, texel] : {std::pair{0, std::array<std::uint8_t, 4>{90, 90, 90, 255}},
                                         std::pair{1, std::array<std::uint8_t, 4>{10, 20, 30, 40}}}) {
        std::array<std::uint8_t, 16> pixels{};
        glBindTexture(GL_TEXTURE_2D, watch.elements[element].texture);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        EXPECT_EQ((std::array<std::uint8_t, 4>{pixels[0], pixels[1], pixels[2], pixels[3]}), texel);
    }
}

TEST_F(WatchLoaderTest, LayersWithMissingOrBrokenFilesAreLeftOut) {
    add("good.png", pngOfColour(4, 4, 4, opaqueRed));
    add("broken.png", pngOfColour(4, 4, 4, opaqueRed).substr(0, 30));
    add("font.ttf", dejaVuSansBytes());
    add("garbage.ttf", std::string(1000, 'x'));
    add("config",
        ":face\nfile=missing.png\n:hand\nfile=broken.png\n:face\nfile= good.png\n:text\nfontfamily=garbage.ttf\n"
        ":text\nfontfamily=nothing.ttf\n:hand\nfile=good.png\nbind=SECOND\n:text\nfontfamily=font.ttf\ntext=kept\n");
    const Watch& watch = load();
    ASSERT_EQ(typesOf(watch), (std::vector<ElementType>{ElementType::Hand, ElementType::Text}));
    EXPECT_EQ(watch.elements[0].bind, HandBinding::Second);
    EXPECT_EQ(watch.elements[1].text, "kept");
    // Asked, the load names the section of each layer; the unnamed first is 0.
    Watch again;
    again.fontLibrary = fontLibrary;
    std::vector<std::size_t> layerSections;
    loadWatch(again, packagePath(), &layerSections);
    EXPECT_EQ(layerSections, (std::vector<std::size_t>{6, 7}));
}

TEST_F(WatchLoaderTest, PackageWithoutConfigIsAnEmptyWatchWithItsProgram) {
    add("face.png", pngOfColour(4, 4, 4, opaqueRed));
    const Watch& folderWatch = load();
    const Watch& missingWatch = load(scratch.path() + "/no-such-package");
    for (const Watch* watch : {&folderWatch, &missingWatch}) {
        EXPECT_EQ(watch->name, "");
        EXPECT_TRUE(watch->elements.empty());
        EXPECT_TRUE(watch->shader.linked);
        EXPECT_NE(watch->vertexArray, 0u);
    }
    EXPECT_NE(folderWatch.vertexArray, missingWatch.vertexArray);
    EXPECT_NE(folderWatch.shader.program, missingWatch.shader.program);
}

}  // namespace
