// Packages as watches: the values of their keys, images decoded within their
// limits, every section a layer, and the catalogue that lists them and loads
// the current one. Which layers broken files leave out is seen in the hostile
// packages and in horlox-watch check, which names them by the sections the
// load reports.
#include <gtest/gtest.h>
#include <filesystem>
#include <tuple>
#include <vector>

#include "config/settings.h"
#include "support/debug_output_capture.h"
#include "support/test_files.h"
#include "support/watch_package_fixture.h"
#include "watch/config_values.h"
#include "watch/image_decode.h"
#include "watch/watch_catalogue.h"

namespace {

TEST(ConfigValuesTest, BindIsAnUpperCasedPrefixAndMovementContinuousOnlyAsTheWholeWord) {
    const std::pair<const char*, HandBinding> bindings[] = {
        {"HOUR", HandBinding::Hour},     {"Hours", HandBinding::Hour},       {"hour_hand", HandBinding::Hour},
        {"minute", HandBinding::Minute}, {"Seconds", HandBinding::Second},   {" HOUR", HandBinding::None},
        {"HOU", HandBinding::None},      {"", HandBinding::None},            {"\xC3\xA9HOUR", HandBinding::None}};
    for (const auto& [text, binding] : bindings) EXPECT_EQ(parseHandBinding(text), binding) << text;
    for (const char* continuous : {"continuous", "CONTINUOUS"}) EXPECT_TRUE(parseMovement(continuous)) << continuous;
    for (const char* other : {"CONTINUOUS ", "continuously", "smooth", ""}) EXPECT_FALSE(parseMovement(other)) << other;
}

// Any single byte separates the two numbers; a second one stops the second.
TEST(ConfigValuesTest, CentresOfHandsAreFloatsAndOfTextsSaturatingIntegers) {
    const std::tuple<const char*, float, float> hands[] = {
        {"64,200", 64, 200}, {"64 200", 64, 200}, {" 64, 200", 64, 200}, {"64;200", 64, 200},
        {"-1.5e1x200.5", -15, 200.5f}, {"128", 128, 0}, {"1,,2", 1, 0}};
    for (const auto& [text, x, y] : hands) {
        const CanvasPoint point = parseHandCenter(text);
        EXPECT_EQ(std::make_pair(point.x, point.y), std::make_pair(x, y)) << text;
    }
    // "12.7,-3": '.' is the separator byte, then "7,-3".
    const std::tuple<const char*, std::int32_t, std::int32_t> texts[] = {
        {"100,190", 100, 190}, {"12.7,-3", 12, 7}, {"", 0, 0},
        {"99999999999999999999,-99999999999999999999", INT32_MAX, INT32_MIN}};
    for (const auto& [text, x, y] : texts) {
        const PenOrigin origin = parseTextCenter(text);
        EXPECT_EQ(std::make_pair(origin.x, origin.y), std::make_pair(x, y)) << text;
    }
}

TEST(ConfigValuesTest, FontSizeInPointsBecomesTruncatedPixelsAndTextsKeep63BytesUpToANul) {
    const std::pair<const char*, std::uint32_t> sizes[] = {
        {"12", 18}, {"20", 30}, {"50000", 75259}, {"0.5", 0}, {"0", 0}, {"-12", 0}, {"nan", 0}, {"big", 0},
        {"1e30", UINT32_MAX}};
    for (const auto& [points, pixels] : sizes) EXPECT_EQ(fontPixelSize(points), pixels) << points;
    EXPECT_EQ(boundedText(std::string(63, 'a')), std::string(63, 'a'));
    EXPECT_EQ(boundedText(std::string(64, 'b')), std::string(63, 'b'));
    EXPECT_EQ(boundedText(std::string("%H\0%M", 5)), "%H");
}

const std::uint8_t opaqueGreen[] = {0, 255, 0, 255};

std::optional<DecodedImage> decode(const std::string& bytes) {
    return decodeImage(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

// The PNG with its header claiming another size than its pixels have.
std::string claimingSize(std::string png, std::uint32_t width, std::uint32_t height) {
    for (int i = 0; i < 4; ++i) {
        png[16 + i] = char(width >> (24 - 8 * i));
        png[20 + i] = char(height >> (24 - 8 * i));
    }
    return png;
}

TEST(ImageDecodeTest, SidesUpToTheLimitDecodeToRgba) {
    for (auto [width, height] : {std::pair{maxImageSide, 1}, std::pair{1, maxImageSide}}) {
        std::optional<DecodedImage> image = decode(pngOfColour(width, height, 3, opaqueGreen));
        ASSERT_TRUE(image.has_value());
        EXPECT_EQ(std::make_pair(image->width, image->height), std::make_pair(width, height));
        const unsigned char* last = image->pixels.get() + (size_t(width) * height - 1) * 4;
        EXPECT_EQ(std::string(last, last + 4), std::string(opaqueGreen, opaqueGreen + 4));
    }
}

TEST(ImageDecodeTest, ImagesPastTheLimitOrWithoutPixelsAreRefused) {
    const std::string png = pngOfColour(2, 2, 4, opaqueGreen);
    // A PSD header of zero by zero pixels, which stb_image decodes to an empty buffer.
    const std::string psdWithoutPixels("8BPS\0\1\0\0\0\0\0\0\0\3\0\0\0\0\0\0\0\0\0\10\0\3\0\0\0\0\0\0\0\0\0\0\0\0\0\0",
                                       40);
    for (const std::string& refused :
         {pngOfColour(maxImageSide + 1, 1, 3, opaqueGreen), claimingSize(png, 100000, 100000), claimingSize(png, 0, 2),
          psdWithoutPixels, png.substr(0, png.size() / 2), std::string("plain text"), std::string()})
        EXPECT_FALSE(decode(refused).has_value()) << refused.size() << " bytes";
    EXPECT_FALSE(decodeImage(nullptr, 10).has_value());
}

const std::uint8_t opaqueRed[] = {255, 0, 0, 255};

using WatchLoaderTest = WatchPackageTest;

// Absent keys read as empty; texts keep their first 63 bytes.
TEST_F(WatchLoaderTest, EverySectionBecomesALayerInFileOrder) {
    add("dial.png", pngOfColour(8, 8, 4, opaqueRed));
    add("hand.png", pngOfColour(4, 16, 4, opaqueRed));
    add("digits.ttf", dejaVuSansBytes());
    const std::string date = "%d.%m." + std::string(60, '.');
    add("config",
        ":watch\nname=Classic\ndescription=Steel dial\n"
        ":face\nfile=dial.png\nmirrorOnRight=1\n"
        ":Face\nfile=dial.png\n"
        ":hand\nfile=hand.png\nbind=hours\nmovement=continuous\ncenter=2,3.5\n"
        ":hand\nfile=hand.png\nbind=MINUTE\ncenter=1\n"
        ":text\nfontfamily=digits.ttf\nfontsize=12\ncenter=100,190\ntext=" + date + "\n"
        ":other\nfile=dial.png\n:text\nfontfamily=digits.ttf\ncharging=\n");
    const Watch& watch = load();
    EXPECT_EQ(std::tie(watch.name, watch.description), std::make_tuple("Classic", "Steel dial"));
    std::vector<ElementType> types;
    for (const WatchElement& element : watch.elements) types.push_back(element.type);
    ASSERT_EQ(types, (std::vector<ElementType>{ElementType::Face, ElementType::Hand, ElementType::Hand,
                                               ElementType::Text, ElementType::Text}));
    EXPECT_TRUE(watch.elements[0].mirrorOnRight);
    const WatchElement &hour = watch.elements[1], &minute = watch.elements[2], &text = watch.elements[3];
    EXPECT_EQ(std::tie(hour.bind, hour.continuous, hour.center.x, hour.center.y),
              std::make_tuple(HandBinding::Hour, true, 2.0f, 3.5f));
    EXPECT_EQ(std::tie(minute.bind, minute.continuous, minute.center.y),
              std::make_tuple(HandBinding::Minute, false, 0.0f));
    EXPECT_EQ(std::tie(text.text, text.textCenter.x, text.textCenter.y, text.fontSize),
              std::make_tuple(date.substr(0, 63), 100, 190, 18u));
    EXPECT_EQ(text.fontFace->size->metrics.y_ppem, 18);
    EXPECT_NE(text.texture, 0u);
    // A size of 0 asks FreeType for 1 pixel; an empty charging mark stays empty.
    const WatchElement& bare = watch.elements[4];
    EXPECT_EQ(std::tie(bare.text, bare.chargingMark, bare.fontFace->size->metrics.y_ppem), std::make_tuple("", "", 1));
}

// Each layer left out is a log line with its config line and why, up to
// eight of them; the rest are counted in one more.
TEST_F(WatchLoaderTest, LayersLeftOutAreLoggedWithTheirLineAndWhy) {
    add("broken.png", "not a picture");
    add("broken.ttf", "not a font");
    std::string config = ":face\n:face\nfile=gone.png\n:hand\nfile=broken.png\n:text\n:text\nfontfamily=gone.ttf\n"
                         ":text\nfontfamily=broken.ttf\n";
    for (int more = 0; more < 5; ++more) config += ":face\nfile=gone.png\n";
    add("config", config);
    const LogCapture output;
    EXPECT_TRUE(load().elements.empty());
    const std::string package = "Watch package " + packagePath(), gone = "image \"gone.png\" is not in the package",
                      leftOut = ", the layer left out\n";
    EXPECT_EQ(output.messages(), package + ", config line 1: ':face' names no image file" + leftOut +
                                     package + ", config line 2: " + gone + leftOut +
                                     package + ", config line 4: image \"broken.png\" cannot be decoded" + leftOut +
                                     package + ", config line 6: ':text' names no font" + leftOut +
                                     package + ", config line 7: font \"gone.ttf\" is not in the package" + leftOut +
                                     package + ", config line 9: font \"broken.ttf\" cannot be opened" + leftOut +
                                     package + ", config line 11: " + gone + leftOut +
                                     package + ", config line 13: " + gone + leftOut +
                                     package + ": 3 more layers left out; horlox-watch check lists them all\n");
}

TEST_F(WatchLoaderTest, PackageWithoutConfigIsAnEmptyWatchReadyToDraw) {
    add("face.png", pngOfColour(4, 4, 4, opaqueRed));
    for (const Watch* watch : {&load(), &load(scratch.path() + "/no-such-package")}) {
        EXPECT_EQ(std::tie(watch->name, watch->shader.linked), std::make_tuple("", true));
        EXPECT_TRUE(watch->elements.empty());
        EXPECT_NE(watch->vertexArray, 0u);
    }
}

class WatchCatalogueTest : public WatchPackageTest {
protected:
    void install(const std::string& package, const std::string& config) {
        writeFile(watches + "/" + package + "/config", config);
    }
    const std::string watches = scratch.path() + "/watches";
    Settings settings;
};

std::string nameOf(const WatchListing* watch) { return watch ? watch->name : "(none)"; }

TEST_F(WatchCatalogueTest, WatchesAreOrderedByNameByteWiseAndTheChosenOneIsKept) {
    writeFile(scratch.path() + "/unpacked/config", ":watch\nname=Zeta\n");
    ASSERT_TRUE(packWith7Zip(scratch.path() + "/unpacked", watches + "/b.7z"));
    install("a", ":watch\nname=Alpha\n");
    install("c", ":watch\nname=alpha\n");
    install("d", ":watch\nname=Beta\n");
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

    // A chosen watch is kept even when it is no longer installed; the first is shown meanwhile.
    settings.initialWatchName = "Gone";
    const WatchCatalogue again(settings, nullptr, watches);
    EXPECT_EQ(std::make_pair(settings.initialWatchName, &again.shown("Gone")),
              std::make_pair(std::string("Gone"), again.first()));
}

// Of two packages with one name the first listed wins; an entry whose config
// names no watch is left out (the line that names it is the program's test).
TEST_F(WatchCatalogueTest, PackagesShareANameWithTheFirstListedAndNamelessOnesAreLeftOut) {
    install("one", ":watch\nname=Classic\ndescription=from one\n");
    install("two", ":watch\nname=Classic\ndescription=from two\n");
    install("nameless", ":watch\ndescription=no name\n");
    writeFile(watches + "/no-config/face.png", "not even a png");
    writeFile(watches + "/README.txt", "hello\n");
    std::string firstListed;
    for (const auto& entry : std::filesystem::directory_iterator(watches)) {
        const std::string name = entry.path().filename().string();
        if (firstListed.empty() && (name == "one" || name == "two")) firstListed = name;
    }
    const LogCapture output;
    const WatchCatalogue catalogue(settings, nullptr, watches);
    ASSERT_EQ(catalogue.count(), 1u);
    EXPECT_EQ(catalogue.find("Classic")->description, "from " + firstListed);
    EXPECT_EQ(settings.initialWatchName, "Classic");
    const std::string secondListed = firstListed == "one" ? "two" : "one";
    EXPECT_NE(output.text().find("] Watch package " + watches + "/" + secondListed + " names its watch \"Classic\" as " +
                                 watches + "/" + firstListed + " does, left out\n"),
              std::string::npos) << output.text();
}

int liveTextures() {
    int live = 0;
    for (GLuint name = 1; name < 4096; ++name) live += glIsTexture(name) ? 1 : 0;
    return live;
}

// Listing loads nothing; loading a watch first gives back what the one before
// held. A text's texture counts only once drawn.
TEST_F(WatchCatalogueTest, OnlyTheCurrentWatchIsLoaded) {
    for (const char* package : {"/A/face.png", "/B/face.png"})
        writeFile(watches + package, pngOfColour(4, 4, 4, opaqueRed));
    writeFile(watches + "/B/font.ttf", dejaVuSansBytes());
    install("A", ":watch\nname=Alpha\n:face\nfile=face.png\n");
    install("B", ":watch\nname=Beta\n:face\nfile=face.png\n:text\nfontfamily=font.ttf\n");
    const int before = liveTextures();
    WatchCatalogue catalogue(settings, testFontLibrary(), watches);
    EXPECT_EQ(liveTextures(), before);
    const Watch* alpha = &catalogue.load("Alpha");
    EXPECT_EQ(std::make_pair(alpha->name, liveTextures()), std::make_pair(std::string("Alpha"), before + 1));
    EXPECT_EQ(&catalogue.load("Alpha"), alpha) << "not loaded again";
    const Watch& beta = catalogue.load("Beta");
    EXPECT_EQ(std::make_tuple(beta.name, beta.elements.size(), liveTextures()),
              std::make_tuple(std::string("Beta"), std::size_t{2}, before + 1));
}

}  // namespace
