// The Windows build's programs under Wine on the test display: the offline
// window, the simulated runtime's demo, packages with non-ASCII names, the
// settings file, and horlox-watch drawing the pixels the Linux build draws.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <thread>

#include "support/child_process.h"
#include "support/test_files.h"
#include "support/x11_window_probe.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr auto wineTimeout = 90s;
const std::string windowsRunDir = HORLOX_WINDOWS_BUILD_DIR "/run";
const std::string windowsWatchTool = HORLOX_WINDOWS_BUILD_DIR "/horlox-watch.exe";

// Names outside every ANSI code page: Wine's narrow calls could not carry them.
const std::string cjkFolder = "\xE6\x99\x82\xE8\xA8\x88 \xC3\xBC";          // 時計 ü
const std::string cjkWatchName = "Uhr \xE6\x99\x82\xE8\xA8\x88";             // Uhr 時計
const std::string cjkImage = "ziffer-\xE6\x97\xA5\xE6\x9C\xAC.png";          // ziffer-日本.png
const std::string cjkArchive = "\xE6\x99\x82\xE8\xA8\x88.7z";                // 時計.7z

// A program of the Windows build, started under Wine.
std::unique_ptr<ChildProcess> underWine(const std::string& program, std::vector<std::string> arguments,
                                        const std::string& directory, const ChildProcess::Environment& environment = {}) {
    arguments.insert(arguments.begin(), program);
    return std::make_unique<ChildProcess>(WINE64, arguments, directory, environment);
}

// A watch whose face covers the whole canvas in one colour.
void writeSolidWatch(const std::string& folder, const std::string& name, const std::string& image,
                     const std::uint8_t* rgba) {
    writeFile(folder + "/" + image, pngOfColour(256, 256, 4, rgba));
    writeFile(folder + "/config", ":watch\nname=" + name + "\n:face\nfile=" + image + "\n");
}

class WineTest : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return directory.path() + "/" + name; }
    TemporaryDirectory directory;
};

// Without watches a fatal error is a line on standard error and status 1,
// never a message box that would wait for a click. The zip, unpacked as a
// Windows user does, has everything beside horlox.exe, which offline shows
// the watch the settings choose: one from a folder with a CJK name, whose
// face has a CJK name too, beside the shipped ones that come first by name.
TEST_F(WineTest, ZippedProgramShowsTheChosenWatchOfflineAndClosingItEndsWithZero) {
    auto failing = underWine(windowsRunDir + "/horlox.exe", {"--offline"}, directory.path());
    EXPECT_EQ(failing->waitForExit(wineTimeout), 1);
    EXPECT_NE(failing->standardError().find("] GL_RENDERER: "), std::string::npos);
    EXPECT_NE(failing->standardError().find("\nNo watches found!\n"), std::string::npos) << failing->standardError();

    if (std::string(HORLOX_WINDOWS_PACKAGE).empty()) GTEST_SKIP() << "built without the OpenVR SDK: no zip";
    ChildProcess unzip("/usr/bin/unzip", {"-q", HORLOX_WINDOWS_PACKAGE}, directory.path());
    ASSERT_EQ(unzip.waitForExit(wineTimeout), 0) << unzip.standardError();
    const std::string folder = path("Horlox");
    for (const char* file : {"horlox.exe", "horlox-watch.exe", "openvr_api.dll", "app.manifest",
                             "dashboard_overlay.png", "Roboto-Medium.ttf", "README.txt",
                             "watches/Classic/config", "watches/Classic/DejaVuSans-Bold.ttf", "watches/Pilot.7z"})
        EXPECT_TRUE(fs::is_regular_file(folder + "/" + file)) << file;
    const std::uint8_t red[] = {230, 20, 40, 255};
    writeSolidWatch(folder + "/watches/" + cjkFolder, cjkWatchName, cjkImage, red);
    writeFile(folder + "/settings.conf", "initialWatchName=" + cjkWatchName + "\n");

    // The watch's place, the client area's lower-left corner, turns red at the
    // next second; the face lands one pixel right of the corner, 256 pixels square.
    auto program = underWine(folder + "/horlox.exe", {"--offline"}, folder);
    std::optional<WindowFacts> window;
    std::vector<std::uint32_t> corner;
    auto isRed = [&] { return !corner.empty() && corner.front() == 0xE61428 && corner.back() == 0xE61428; };
    for (auto waited = 0ms; waited < 20s && !isRed(); waited += 100ms) {
        std::this_thread::sleep_for(100ms);
        window = findWindowByTitle("Horlox");
        if (window && window->viewable) corner = readWindowPixels("Horlox", 10, window->height - 250, 240, 240);
    }
    ASSERT_TRUE(window && window->viewable) << program->standardError();
    EXPECT_EQ(std::make_pair(window->width, window->height), std::make_pair(1280, 720));
    EXPECT_TRUE(isRed()) << "the chosen watch's face, from the corner's top to its last pixel";
    ASSERT_TRUE(requestWindowClose("Horlox"));
    EXPECT_EQ(program->waitForExit(wineTimeout), 0) << program->standardError();
}

// The demo as README shows it, with the shipped watches; its menu choices
// end on the first watch and the left hand, saved through a temporary file
// and MoveFileExW, with LF line ends.
TEST_F(WineTest, DemoScenarioEndsWithZeroRecordsTheWatchAndSavesTheChoices) {
    for (const char* file : {"app.manifest", "Roboto-Medium.ttf"}) fs::copy_file(windowsRunDir + "/" + file, path(file));
    fs::copy(windowsRunDir + "/watches", path("watches"), fs::copy_options::recursive);
    auto program = underWine(windowsRunDir + "/horlox.exe", {}, directory.path(),
                             {{"HORLOX_VR_RUNTIME", "simulated"},
                              {"HORLOX_SIM_SCENARIO", HORLOX_SOURCE_DIR "/assets/scenarios/demo.scenario"},
                              {"HORLOX_SIM_RECORD", "record"}});
    EXPECT_EQ(program->waitForExit(wineTimeout), 0) << program->standardError();
    const Image watch = readPng(path("record/app.quillmere.horlox.watch.png"));
    ASSERT_EQ(watch.width, 256);
    EXPECT_NE(std::count(watch.rgba.begin() + 3, watch.rgba.end(), 255), 0) << "the recorded watch has opaque pixels";
    EXPECT_EQ(readWholeFile(path("settings.conf")), "watchOnRightHand=false\ninitialWatchName=Classic\n");
    EXPECT_FALSE(fs::exists(path("settings.conf.tmp")));
}

TEST_F(WineTest, WatchToolDrawsTheLinuxPixelsAndReadsCjkPackages) {
    const std::vector<std::string> time = {"--time", "10:08:37", "--date", "2024-05-17"};
    auto render = [&](const std::string& tool, const std::string& package, const std::string& output) {
        std::vector<std::string> arguments = {"render", package, "-o", output};
        arguments.insert(arguments.end(), time.begin(), time.end());
        return tool == HORLOX_WATCH_BINARY ? ChildProcess(tool, arguments, directory.path()).waitForExit(wineTimeout)
                                           : underWine(tool, arguments, directory.path())->waitForExit(wineTimeout);
    };
    for (const char* watch : {"Classic", "Digital", "Pilot.7z"}) {
        const std::string package = windowsRunDir + "/watches/" + watch;
        ASSERT_EQ(render(HORLOX_WATCH_BINARY, package, path("linux.png")), 0) << watch;
        ASSERT_EQ(render(windowsWatchTool, package, path("windows.png")), 0) << watch;
        const Image windows = readPng(path("windows.png"));
        ASSERT_EQ(windows.width, 256) << watch;
        EXPECT_TRUE(windows.rgba == readPng(path("linux.png")).rgba) << watch << " differs between the builds";
    }

    // A 7z package whose own name and whose entries' names are CJK, given on
    // the command line and written to a CJK name.
    const std::uint8_t blue[] = {10, 20, 220, 255};
    writeSolidWatch(path("folder"), cjkWatchName, cjkImage, blue);
    ASSERT_TRUE(packWith7Zip(path("folder"), path(cjkArchive)));
    const std::string output = "bild-" + cjkImage;
    ASSERT_EQ(render(windowsWatchTool, cjkArchive, output), 0);
    const Image drawn = readPng(path(output));
    ASSERT_EQ(drawn.width, 256);
    EXPECT_EQ(drawn.at(128, 128), (Rgba{10, 20, 220, 255}));
}

}  // namespace
