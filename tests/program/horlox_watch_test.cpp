// The horlox-watch binary, run as a package author runs it.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>

#include <stb_image.h>

#include "config/settings.h"
#include "gl/fixed_gl_state.h"
#include "gl/render_target.h"
#include "support/child_process.h"
#include "support/hostile_packages.h"
#include "support/package_files.h"
#include "support/watch_package_fixture.h"
#include "watch/watch_loader.h"
#include "watch/watch_renderer.h"

namespace {

using namespace std::chrono_literals;

const std::string shippedWatches = HORLOX_RUN_DIR "/watches";

struct ToolRun {
    std::optional<int> status;
    std::string out;
    std::string err;
};

struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;  // rows from the top

    std::array<std::uint8_t, 4> at(int x, int row) const {
        const std::size_t i = (std::size_t(row) * width + x) * 4;
        return {rgba[i], rgba[i + 1], rgba[i + 2], rgba[i + 3]};
    }
};

Image readPng(const std::string& path) {
    const std::string png = readWholeFile(path);
    Image image;
    int channels = 0;
    stbi_uc* pixels = stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(png.data()),
                                            static_cast<int>(png.size()), &image.width,
                                            &image.height, &channels, 4);
    if (!pixels) return image;
    image.rgba.assign(pixels, pixels + std::size_t(image.width) * image.height * 4);
    stbi_image_free(pixels);
    return image;
}

std::tm momentOf(int hour, int minute, int second) {
    std::tm time{};
    time.tm_year = 124;  // 2024-05-17, a Friday
    time.tm_mon = 4;
    time.tm_mday = 17;
    time.tm_wday = 5;
    time.tm_yday = 137;
    time.tm_hour = hour;
    time.tm_min = minute;
    time.tm_sec = second;
    return time;
}

// The program's own redraw, in this process's GLX context: the fixed state
// of the start-up, then what the main loop does to the watch target.
Image drawnByTheProgram(const Watch& watch, const std::tm& time, const Settings& settings) {
    static const RenderTarget watchTarget = createRenderTarget(256, 256);
    setFixedGlState();
    glBindFramebuffer(GL_FRAMEBUFFER, watchTarget.framebuffer);
    glViewport(0, 0, 256, 256);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawWatch(watch, WatchReadings{time, {}, {}, {}}, settings);
    Image image{256, 256, std::vector<std::uint8_t>(256 * 256 * 4)};
    for (int row = 0; row < 256; ++row)
        glReadPixels(0, 255 - row, 256, 1, GL_RGBA, GL_UNSIGNED_BYTE, &image.rgba[row * 256 * 4]);
    return image;
}

// Each test gets a scratch folder that is also the tool's working directory.
class HorloxWatchTest : public WatchPackageTest {
protected:
    ToolRun run(const std::vector<std::string>& arguments,
                const ChildProcess::Environment& environment = {}) {
        ChildProcess tool(HORLOX_WATCH_BINARY, arguments, scratch.path(), environment);
        ToolRun result;
        result.status = tool.waitForExit(60s);
        result.out = tool.standardOutput();
        result.err = tool.standardError();
        return result;
    }
    std::string file(const std::string& name) const { return scratch.path() + "/" + name; }
};

TEST_F(HorloxWatchTest, CheckFindsNothingInTheShippedWatches) {
    const ToolRun check = run({"check", "--warnings-as-errors", shippedWatches + "/Classic",
                               shippedWatches + "/Digital", shippedWatches + "/Pilot.7z"});
    EXPECT_EQ(check.status, 0) << check.err;
    EXPECT_EQ(check.out, "");
    EXPECT_EQ(check.err, "");
}

TEST_F(HorloxWatchTest, CheckReportsEveryFindingAndFailsOnErrors) {
    const std::uint8_t white[] = {255, 255, 255, 255};
    add("dial.png", pngOfColour(300, 300, 4, white));
    add("config",
        ":watch\r\n"
        "name=Broken\n"
        ":face\n"
        "file = dial.png\n"
        "File=dial.png\n"
        ":hand\n"
        "file=hand.png\n"
        "bind=hr\n");
    writeFile(file("twin/config"), ":watch\nname=Broken\n");
    writeFile(file("again/config"), ":watch\nname=Broken\n");
    const ToolRun check = run({"check", "watch", "twin", "again"});
    EXPECT_EQ(check.status, 1);
    EXPECT_EQ(
        check.out,
        "watch/config: error: there is no ':watch' section, so the watch has no name\n"
        "watch/config:1: error: section ':watch\\r' is ignored; did you mean ':watch'?\n"
        "watch/config:4: warning: value of 'file' begins with a blank, which the program keeps\n"
        "watch/config:4: error: image ' dial.png' is not in the package; the layer is left out\n"
        "watch/config:5: error: key 'File' in ':face' is ignored; did you mean 'file'?\n"
        "watch/config:7: error: image 'hand.png' is not in the package; the layer is left out\n"
        "watch/config:8: error: bind value 'hr' matches no hand (HOUR, MINUTE or SECOND); the hand "
        "stays at twelve\n"
        "again/config:2: error: watch name 'Broken' is also the name of twin; the program shows "
        "only one of them\n");
    EXPECT_EQ(check.err, "");
}

TEST_F(HorloxWatchTest, CheckNamesWhatIsWrongWithEveryHostilePackage) {
    installHostilePackages(file("watches"));
    const ToolRun check =
        run({"check", "watches/Bomb.7z", "watches/DamagedArchive.7z", "watches/EscapingNames",
             "watches/GarbageFont", "watches/HugePngHeader", "watches/LongLine",
             "watches/TruncatedPng", "watches/Utf16Config"});
    EXPECT_EQ(check.status, 1);
    EXPECT_EQ(check.err, "");
    const std::string leftOut = "; the layer is left out\n";
    EXPECT_EQ(check.out,
              "watches/Bomb.7z/config: error: the archive holds no such file, or is no 7z archive "
              "that the program reads\n"
              "watches/DamagedArchive.7z/config:5: error: image 'dial.png' is not in the package" +
                  leftOut +
                  "watches/EscapingNames/config:4: error: image '../../outside.png' is not in the "
                  "package" + leftOut +
                  "watches/EscapingNames/config:6: error: image 'sub/../../../outside.png' is not "
                  "in the package" + leftOut +
                  "watches/EscapingNames/config:9: error: image '" +
                  outsideImagePath(file("watches")) + "' is not in the package" + leftOut +
                  "watches/EscapingNames/config:11: error: font "
                  "'/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf' is not in the package" +
                  leftOut +
                  "watches/GarbageFont/config:4: error: font 'font.ttf' cannot be opened" + leftOut +
                  "watches/HugePngHeader/config:5: error: image 'dial.png' cannot be decoded" +
                  leftOut +
                  "watches/LongLine/config: error: there is no ':watch' section, so the watch has "
                  "no name\n"
                  "watches/LongLine/config:1: warning: key 'description' is ignored: it stands "
                  "before the first section\n"
                  "watches/TruncatedPng/config:5: error: image 'dial.png' cannot be decoded" +
                  leftOut +
                  "watches/Utf16Config/config: error: there is no ':watch' section, so the watch "
                  "has no name\n"
                  "watches/Utf16Config/config:1: error: the file begins with a byte order mark, "
                  "which the program reads as part of the first line; save it as UTF-8 without "
                  "one\n"
                  "watches/Utf16Config/config:2: warning: key '\\x00n\\x00a\\x00m\\x00e\\x00' is "
                  "ignored: it stands before the first section\n"
                  "watches/Utf16Config/config:3: warning: key '\\x00:\\x00f\\x00a\\x00c\\x00e\\x00' "
                  "is ignored: it stands before the first section\n"
                  "watches/Utf16Config/config:4: warning: key '\\x00f\\x00i\\x00l\\x00e\\x00' is "
                  "ignored: it stands before the first section\n"
                  "watches/Utf16Config/config:5: warning: key '\\x00' is ignored: it stands before "
                  "the first section\n");

    // 10000 sections: every fourth one unknown, and the 201st layer the first
    // that no longer shows.
    const ToolRun many = run({"check", "watches/ManySections"});
    EXPECT_EQ(many.status, 1);
    const std::string unknownWarning = "warning: section ':unknown' is ignored\n";
    size_t unknownSections = 0;
    for (size_t at = many.out.find(unknownWarning); at != std::string::npos;
         at = many.out.find(unknownWarning, at + 1))
        ++unknownSections;
    EXPECT_EQ(unknownSections, 2500u);
    EXPECT_NE(many.out.find("watches/ManySections/config:602: error: the program draws only the "
                            "first 200 layers; from this one on, none is drawn\n"),
              std::string::npos);
}

TEST_F(HorloxWatchTest, WarningsFailTheCheckOnlyWhenAsked) {
    const std::uint8_t white[] = {255, 255, 255, 255};
    add("dial.png", pngOfColour(256, 257, 4, white));
    add("config", ":watch\nname=Tall\n:face\nfile=dial.png\n");
    const std::string finding =
        "watch/config:4: warning: image 'dial.png' is 256 x 257 pixels, larger than the 256 x 256 "
        "canvas\n";
    const ToolRun lenient = run({"check", "watch"});
    EXPECT_EQ(lenient.status, 0);
    EXPECT_EQ(lenient.out, finding);
    const ToolRun strict = run({"check", "watch", "--warnings-as-errors"});
    EXPECT_EQ(strict.status, 1);
    EXPECT_EQ(strict.out, finding);
}

TEST_F(HorloxWatchTest, RenderDrawsWithoutADisplayWhatTheProgramDraws) {
    const ToolRun render = run({"render", shippedWatches + "/Classic", "--time", "03:00:00",
                                "--date", "2024-05-17", "-o", "classic.png"},
                               {{"DISPLAY", ""}});
    ASSERT_EQ(render.status, 0) << render.err;
    EXPECT_EQ(render.out, "");
    const Image image = readPng(file("classic.png"));
    ASSERT_EQ(image.width, 256);
    ASSERT_EQ(image.height, 256);

    // At three the minute and second hands point up: the polished hour hand
    // lies right of the centre, and the navy dial shows on the left.
    const auto hourHand = image.at(128 + 40, 127);
    EXPECT_GT(hourHand[0], 150);
    EXPECT_GT(hourHand[1], 150);
    const auto dial = image.at(128 - 40, 127);
    EXPECT_LT(dial[0], 100);
    EXPECT_GT(dial[2], dial[0]);
    EXPECT_EQ(image.at(0, 0)[3], 0) << "the corners stay transparent";

    Watch& classic = load(shippedWatches + "/Classic");
    EXPECT_TRUE(drawnByTheProgram(classic, momentOf(3, 0, 0), Settings()).rgba == image.rgba);
}

TEST_F(HorloxWatchTest, RenderOnTheRightHandAndEnlarged) {
    const std::string pilot = shippedWatches + "/Pilot.7z";
    const ToolRun right = run({"render", pilot, "--right-hand", "--time", "10:08:37", "--date",
                               "2024-05-17", "--scale", "2", "-o", "right.png"});
    ASSERT_EQ(right.status, 0) << right.err;
    const Image large = readPng(file("right.png"));
    ASSERT_EQ(large.width, 512);
    ASSERT_EQ(large.height, 512);

    Settings rightHand;
    rightHand.watchOnRightHand = true;
    const Image drawn = drawnByTheProgram(load(pilot), momentOf(10, 8, 37), rightHand);
    bool same = true;
    for (int row = 0; row < 512; ++row)
        for (int x = 0; x < 512; ++x) same = same && large.at(x, row) == drawn.at(x / 2, row / 2);
    EXPECT_TRUE(same);
    EXPECT_FALSE(drawnByTheProgram(load(pilot), momentOf(10, 8, 37), Settings()).rgba == drawn.rgba)
        << "the case mirrors on the right hand";
}

TEST_F(HorloxWatchTest, PackedFolderLoadsAsTheSameWatch) {
    const ToolRun pack = run({"pack", shippedWatches + "/Classic", "-o", "Classic.7z"});
    ASSERT_EQ(pack.status, 0) << pack.err;
    EXPECT_EQ(pack.out, "Classic.7z: 6 files\n");

    const Watch& folder = load(shippedWatches + "/Classic");
    const Watch& archive = load(file("Classic.7z"));
    EXPECT_EQ(archive.name, folder.name);
    EXPECT_EQ(archive.description, folder.description);
    ASSERT_EQ(archive.elements.size(), folder.elements.size());
    for (std::size_t i = 0; i < folder.elements.size(); ++i)
        EXPECT_EQ(archive.elements[i].type, folder.elements[i].type) << i;
    EXPECT_TRUE(drawnByTheProgram(archive, momentOf(10, 8, 37), Settings()).rgba ==
                drawnByTheProgram(folder, momentOf(10, 8, 37), Settings()).rgba);
}

TEST_F(HorloxWatchTest, PackRefusesAFolderWithoutConfig) {
    add("dial.png", "not needed");
    const ToolRun pack = run({"pack", "watch", "-o", "watch.7z"});
    EXPECT_EQ(pack.status, 2);
    EXPECT_EQ(pack.err, "horlox-watch pack: watch has no \"config\" file, so it holds no watch\n");
    EXPECT_FALSE(std::filesystem::exists(file("watch.7z")));
}

TEST_F(HorloxWatchTest, EveryCommandHasHelpAndNamesWhatIsWrong) {
    for (const char* command : {"check", "render", "pack"}) {
        const ToolRun help = run({command, "--help"});
        EXPECT_EQ(help.status, 0) << command;
        EXPECT_EQ(help.out.rfind(std::string("Usage: horlox-watch ") + command, 0), 0u) << help.out;
    }
    EXPECT_EQ(run({"--help"}).status, 0);

    const std::vector<std::pair<std::vector<std::string>, std::string>> mistakes = {
        {{}, "Usage: horlox-watch COMMAND [ARGUMENTS]\n"},
        {{"draw"}, "horlox-watch: unknown command 'draw'\n"},
        {{"check"}, "horlox-watch check: no package given\nTry 'horlox-watch check --help'.\n"},
        {{"check", "nowhere"}, "horlox-watch check: no such package: nowhere\n"},
        {{"check", "--strict", "x"},
         "horlox-watch check: unknown option '--strict'\nTry 'horlox-watch check --help'.\n"},
        {{"render", "x", "--time", "3:00", "-o", "a.png"},
         "horlox-watch render: --time wants HH:MM:SS on the 24-hour clock, not '3:00'\nTry "
         "'horlox-watch render --help'.\n"},
        {{"render", "x", "--time", "03:00:00", "--date", "2023-02-29", "-o", "a.png"},
         "horlox-watch render: --date wants an existing date as YYYY-MM-DD, not '2023-02-29'\nTry "
         "'horlox-watch render --help'.\n"},
        {{"render", "x", "--time", "03:00:00", "--scale", "0", "-o", "a.png"},
         "horlox-watch render: --scale wants a whole number from 1 to 16, not '0'\nTry "
         "'horlox-watch render --help'.\n"},
        {{"render", "x", "--time", "03:00:00"},
         "horlox-watch render: --time and -o are required\nTry 'horlox-watch render --help'.\n"},
        {{"render", "nowhere", "--time", "03:00:00", "-o", "a.png"},
         "horlox-watch render: no such package: nowhere\n"},
        {{"pack", "a", "b", "-o", "c.7z"},
         "horlox-watch pack: give exactly one folder\nTry 'horlox-watch pack --help'.\n"},
        {{"pack", "nowhere", "-o", "c.7z"}, "horlox-watch pack: nowhere is not a folder\n"},
    };
    for (const auto& [arguments, message] : mistakes) {
        const ToolRun wrong = run(arguments);
        EXPECT_EQ(wrong.status, 2) << message;
        EXPECT_EQ(wrong.err.substr(0, message.size()), message);
        EXPECT_EQ(wrong.out, "");
    }
}

}  // namespace
