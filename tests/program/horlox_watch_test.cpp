// The horlox-watch binary, run as a package author runs it: what only the
// whole tool shows (exit status, output streams, files written).
#include <gtest/gtest.h>
#include <filesystem>
#include <tuple>

#include "horlox_watch/render_time.h"
#include "support/child_process.h"
#include "support/hostile_packages.h"
#include "support/test_files.h"
#include "support/watch_package_fixture.h"

namespace {

using namespace std::chrono_literals;
using Arguments = std::vector<std::string>;

const std::string shipped = HORLOX_RUN_DIR "/watches/";

struct ToolRun {
    std::optional<int> status;
    std::string out, err;
};

const WatchReadings renderedMoment{localTimeAt({2024, 5, 17}, {10, 8, 37}), {}, {}, {}};

// Each test's scratch folder is also the tool's working directory.
class HorloxWatchTest : public WatchPackageTest {
protected:
    ToolRun run(const Arguments& arguments, const ChildProcess::Environment& environment = {}) {
        ChildProcess tool(HORLOX_WATCH_BINARY, arguments, scratch.path(), environment);
        const std::optional<int> status = tool.waitForExit(60s);
        return {status, tool.standardOutput(), tool.standardError()};
    }
    std::string file(const std::string& name) const { return scratch.path() + "/" + name; }
};

TEST_F(HorloxWatchTest, CheckPrintsFindingsAndFailsOnErrorsOrOnWarningsWhenAsked) {
    const std::uint8_t white[] = {255, 255, 255, 255};
    add("dial.png", pngOfColour(256, 257, 4, white));
    add("config", ":watch\nname=Tall\n:face\nfile=dial.png\n");
    const std::string tall = "watch/config:4: warning: image 'dial.png' is 256 x 257 pixels, larger than the "
                             "256 x 256 canvas\n";
    const std::tuple<Arguments, int, std::string> checks[] = {
        {{"check", "--warnings-as-errors", shipped + "Classic", shipped + "Digital", shipped + "Pilot.7z"}, 0, ""},
        {{"check", "watch"}, 0, tall},
        {{"check", "watch", "--warnings-as-errors"}, 1, tall}};
    for (const auto& [arguments, status, out] : checks) {
        const ToolRun check = run(arguments);
        EXPECT_EQ(check.status, status) << arguments[1];
        EXPECT_EQ(check.out, out);
        EXPECT_EQ(check.err, "");
    }
    installHostilePackages(file("watches"));
    const Arguments hostile = {"Bomb.7z", "DamagedArchive.7z", "EscapingNames", "GarbageFont", "HugePngHeader",
                               "LongLine", "ManySections", "TruncatedPng", "Utf16Config"};
    Arguments arguments = {"check"};
    for (const std::string& package : hostile) arguments.push_back("watches/" + package);
    const ToolRun check = run(arguments);
    EXPECT_EQ(check.status, 1);
    EXPECT_EQ(check.err, "");
    for (const std::string& package : hostile)
        EXPECT_NE(check.out.find("watches/" + package + "/config:"), std::string::npos) << package;
}

// Needs no display; the right hand and an enlargement as asked.
TEST_F(HorloxWatchTest, RenderDrawsWhatTheProgramDraws) {
    const ToolRun render = run({"render", shipped + "Pilot.7z", "--right-hand", "--time", "10:08:37", "--date",
                                "2024-05-17", "--scale", "2", "-o", "right.png"},
                               {{"DISPLAY", ""}});
    ASSERT_EQ(render.status, 0) << render.err;
    EXPECT_EQ(render.out, "");
    const Image large = readPng(file("right.png"));
    ASSERT_EQ(std::tie(large.width, large.height), std::make_tuple(512, 512));
    const Image drawn = draw(load(shipped + "Pilot.7z"), renderedMoment, true);
    bool same = true;
    for (int row = 0; row < 512; ++row)
        for (int x = 0; x < 512; ++x) same = same && large.at(x, row) == drawn.at(x / 2, row / 2);
    EXPECT_TRUE(same);
    EXPECT_FALSE(draw(load(shipped + "Pilot.7z"), renderedMoment).rgba == drawn.rgba)
        << "the case mirrors on the right hand";
}

// A package that check calls broken is not drawn at all.
TEST_F(HorloxWatchTest, BrokenPackagesAreNotDrawn) {
    add("dial.png", readWholeFile(shipped + "Classic/dial.png"));
    add("config", ":watch\nname=Broken\n:face\nfile=dial.png\nmirrorOnRight=yes\n");
    const ToolRun refused = run({"render", "watch", "--time", "10:08:37", "--date", "2024-05-17", "-o", "broken.png"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "watch/config:5: error: 'mirrorOnRight' value 'yes' is not true or false (1 or 0); the "
                           "program reads it as false\nhorlox-watch render: the package has errors, so nothing was "
                           "drawn\n");
    EXPECT_FALSE(std::filesystem::exists(file("broken.png")));
}

TEST_F(HorloxWatchTest, PackMakesAnArchiveThatLoadsAsTheSameWatch) {
    const ToolRun pack = run({"pack", shipped + "Classic", "-o", "Classic.7z"});
    ASSERT_EQ(pack.status, 0) << pack.err;
    EXPECT_EQ(pack.out, "Classic.7z: 6 files\n");
    EXPECT_EQ(load(file("Classic.7z")).name, "Classic") << "its files' bytes are the packer's test";
}

// A command line it cannot follow ends with status 2 and says why, never
// reading past its last word nor drawing beyond the largest scale.
TEST_F(HorloxWatchTest, EveryMistakeInTheCommandLineIsNamed) {
    EXPECT_EQ(run({"--help"}).status, 0);
    const std::string tryRender = "\nTry 'horlox-watch render --help'.\n";
    const std::pair<Arguments, std::string> mistakes[] = {
        {{}, "Usage: horlox-watch COMMAND [ARGUMENTS]\n"},
        {{"draw"}, "horlox-watch: unknown command 'draw'\n"},
        {{"check"}, "horlox-watch check: no package given\nTry 'horlox-watch check --help'.\n"},
        {{"render", "x", "--time", "03:00:00", "--scale", "17", "-o", "a.png"},
         "horlox-watch render: --scale wants a whole number from 1 to 16, not '17'" + tryRender},
        {{"render", "x", "--time", "03:00:00"}, "horlox-watch render: --time and -o are required" + tryRender},
        {{"pack", "a", "-o"}, "horlox-watch pack: option '-o' needs a value\nTry 'horlox-watch pack --help'.\n"},
    };
    for (const auto& [arguments, message] : mistakes) {
        const ToolRun wrong = run(arguments);
        EXPECT_EQ(wrong.status, 2) << message;
        EXPECT_EQ(wrong.err.substr(0, message.size()), message);
        EXPECT_EQ(wrong.out, "");
    }
}

}  // namespace
