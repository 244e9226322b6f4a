#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "support/package_files.h"
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

template <typename T, size_t N>
std::array<T, N> bufferContent(GLuint buffer) {
    std::array<T, N> content{};
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, sizeof content, content.data());
    return content;
}

std::array<std::uint8_t, 4> firstTexel(GLuint texture, int width, int height) {
    std::vector<std::uint8_t> pixels(size_t(width) * height * 4);
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return {pixels[0], pixels[1], pixels[2], pixels[3]};
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

    EXPECT_EQ(watch.name, "Classic");
    EXPECT_EQ(watch.description, "Steel dial");
    EXPECT_TRUE(watch.shader.linked);
    EXPECT_NE(watch.shader.program, 0u);
    EXPECT_NE(watch.vertexArray, 0u);
    const std::array<GLfloat, 16> canvasToClip = {0.0078125f, 0, 0, 0, 0, 0.0078125f, 0, 0,
                                                  0, 0, 1, 0, -1, -1, 0, 1};
    EXPECT_EQ(watch.viewMatrix, canvasToClip);
    ASSERT_EQ(typesOf(watch), (std::vector<ElementType>{ElementType::Face, ElementType::Hand,
                                                         ElementType::Hand, ElementType::Text}));

    EXPECT_TRUE(watch.elements[0].mirrorOnRight);
    const WatchElement& hour = watch.elements[1];
    EXPECT_EQ(hour.bind, HandBinding::Hour);
    EXPECT_TRUE(hour.continuous);
    EXPECT_FLOAT_EQ(hour.center.x, 2.0f);
    EXPECT_FLOAT_EQ(hour.center.y, 3.5f);
    const WatchElement& minute = watch.elements[2];
    EXPECT_EQ(minute.bind, HandBinding::Minute);
    EXPECT_FALSE(minute.continuous);
    EXPECT_FLOAT_EQ(minute.center.y, 0.0f);

    const WatchElement& date = watch.elements[3];
    EXPECT_EQ(date.text, "%d.%m.");
    EXPECT_EQ(date.textCenter.x, 100);
    EXPECT_EQ(date.textCenter.y, 190);
    EXPECT_EQ(date.fontSize, 18u);
    ASSERT_TRUE(date.fontFace);
    EXPECT_EQ(date.fontFace->size->metrics.y_ppem, 18);
    EXPECT_NE(date.texture, 0u);
}

TEST_F(WatchLoaderTest, QuadsTakeTheImageSizeAndTextsTheWholeCanvas) {
    add("bar.png", pngOfColour(100, 40, 4, opaqueRed));
    add("font.ttf", dejaVuSansBytes());
    add("config", ":face\nfile=bar.png\n:text\nfontfamily=font.ttf\n");
    const Watch& watch = load();
    ASSERT_EQ(watch.elements.size(), 2u);

    using Quad = std::array<GLfloat, 20>;
    EXPECT_EQ((bufferContent<GLfloat, 20>(watch.elements[0].vertexBuffer)),
              (Quad{0, 40, 0, 0, 0, 0, 0, 0, 0, 1, 100, 40, 0, 1, 0, 100, 0, 0, 1, 1}));
    EXPECT_EQ((bufferContent<GLfloat, 20>(watch.elements[1].vertexBuffer)),
              (Quad{0, 256, 0, 0, 0, 0, 0, 0, 0, 1, 256, 256, 0, 1, 0, 256, 0, 0, 1, 1}));
    EXPECT_EQ((bufferContent<GLuint, 6>(watch.elements[0].indexBuffer)),
              (std::array<GLuint, 6>{1, 2, 3, 2, 1, 0}));
    // Absent keys read as empty: no text, a size of 0 asks FreeType for 1 pixel.
    EXPECT_EQ(watch.elements[1].text, "");
    EXPECT_EQ(watch.elements[1].fontFace->size->metrics.y_ppem, 1);
}

TEST_F(WatchLoaderTest, ImagesBecomeRgbaKeepingTheirAlpha) {
    const std::uint8_t grey[] = {90};
    const std::uint8_t translucent[] = {10, 20, 30, 40};
    add("grey.png", pngOfColour(2, 2, 1, grey));
    add("translucent.png", pngOfColour(2, 2, 4, translucent));
    add("config", ":face\nfile=grey.png\n:face\nfile=translucent.png\n");
    const Watch& watch = load();
    ASSERT_EQ(watch.elements.size(), 2u);
    EXPECT_EQ(firstTexel(watch.elements[0].texture, 2, 2), (std::array<std::uint8_t, 4>{90, 90, 90, 255}));
    EXPECT_EQ(firstTexel(watch.elements[1].texture, 2, 2), (std::array<std::uint8_t, 4>{10, 20, 30, 40}));
    GLint wrap = 0, minFilter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    EXPECT_EQ(wrap, GL_CLAMP_TO_EDGE);
    EXPECT_EQ(minFilter, GL_LINEAR);
}

TEST_F(WatchLoaderTest, LayersWithMissingOrBrokenFilesAreLeftOut) {
    add("good.png", pngOfColour(4, 4, 4, opaqueRed));
    add("broken.png", pngOfColour(4, 4, 4, opaqueRed).substr(0, 30));
    add("font.ttf", dejaVuSansBytes());
    add("garbage.ttf", std::string(1000, 'x'));
    add("config",
        ":face\nfile=missing.png\n"
        ":hand\nfile=broken.png\n"
        ":face\nfile= good.png\n"
        ":text\nfontfamily=garbage.ttf\n"
        ":text\nfontfamily=nothing.ttf\n"
        ":hand\nfile=good.png\nbind=SECOND\n"
        ":text\nfontfamily=font.ttf\ntext=kept\n");
    const Watch& watch = load();
    ASSERT_EQ(typesOf(watch), (std::vector<ElementType>{ElementType::Hand, ElementType::Text}));
    EXPECT_EQ(watch.elements[0].bind, HandBinding::Second);
    EXPECT_EQ(watch.elements[1].text, "kept");

    // Asked, the load names the section of each layer: the unnamed first
    // section is number 0.
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

TEST_F(WatchLoaderTest, OversizedFontAndTextAreBounded) {
    add("font.ttf", dejaVuSansBytes());
    add("config", ":text\nfontfamily=font.ttf\nfontsize=50000\ntext=" + std::string(70, 'x') + "\n");
    const Watch& watch = load();
    ASSERT_EQ(watch.elements.size(), 1u);
    EXPECT_EQ(watch.elements[0].fontSize, 75259u);
    EXPECT_EQ(watch.elements[0].fontFace->size->metrics.y_ppem, 65535);
    EXPECT_EQ(watch.elements[0].text, std::string(63, 'x'));
}

TEST_F(WatchLoaderTest, ArchivePackageLoadsLikeTheFolder) {
    add("face.png", pngOfColour(6, 3, 4, opaqueRed));
    add("img/hand.png", pngOfColour(2, 9, 4, opaqueRed));
    add("config", ":watch\nname=Packed\n:face\nfile=face.png\n:hand\nfile=img/hand.png\nbind=minute\n");
    const std::string archive = scratch.path() + "/Packed.7z";
    ASSERT_TRUE(packWith7Zip(packagePath(), archive));
    const Watch& fromFolder = load();
    const Watch& fromArchive = load(archive);
    EXPECT_EQ(fromArchive.name, "Packed");
    ASSERT_EQ(typesOf(fromArchive), typesOf(fromFolder));
    for (size_t i = 0; i < fromFolder.elements.size(); ++i)
        EXPECT_EQ((bufferContent<GLfloat, 20>(fromArchive.elements[i].vertexBuffer)),
                  (bufferContent<GLfloat, 20>(fromFolder.elements[i].vertexBuffer)));
}

}  // namespace
