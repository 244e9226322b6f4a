// The real program in VR mode against the simulated runtime, with a scenario,
// judged by its exit status, its debugger output and the runtime's record.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include <stb_image.h>

#include "support/child_process.h"
#include "support/package_files.h"
#include "support/temporary_directory.h"
#include "vr/simulated_session.h"

namespace {

using namespace std::chrono_literals;

constexpr auto runTimeout = 60s;

// One logged call: its pass and its text.
struct LoggedCall {
    unsigned long pass = 0;
    std::string text;
};

std::vector<LoggedCall> readCallLog(const std::string& log) {
    std::vector<LoggedCall> calls;
    for (const std::string& line : linesWith(log, "pass ")) {
        const std::size_t colon = line.find(": ");
        if (colon == std::string::npos) continue;
        calls.push_back({std::strtoul(line.c_str() + 5, nullptr, 10), line.substr(colon + 2)});
    }
    return calls;
}

bool startsWith(const std::string& text, const std::string& start) {
    return text.compare(0, start.size(), start) == 0;
}

// The pass of the first call that begins with the text.
std::optional<unsigned long> passOf(const std::vector<LoggedCall>& calls, const std::string& start) {
    for (const LoggedCall& call : calls)
        if (startsWith(call.text, start)) return call.pass;
    return std::nullopt;
}

// A working directory with the shipped manifest and one watch whose face is
// solid red, so the recorded image shows whether the watch was drawn.
class VrProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        writeFile(path("app.manifest"), readWholeFile(HORLOX_RUN_DIR "/app.manifest"));
        const std::uint8_t red[] = {255, 0, 0, 255};
        writeFile(path("watches/Red/face.png"), pngOfColour(256, 256, 4, red));
        writeFile(path("watches/Red/config"), ":watch\nname=Red\n:face\nfile=face.png\n");
    }

    std::string path(const std::string& name) const { return workingDirectory.path() + "/" + name; }

    std::unique_ptr<ChildProcess> run(const std::string& scenario) {
        writeFile(path("scenario"), scenario);
        return std::make_unique<ChildProcess>(
            HORLOX_BINARY, std::vector<std::string>{}, workingDirectory.path(),
            ChildProcess::Environment{{"HORLOX_VR_RUNTIME", "simulated"},
                                      {"HORLOX_SIM_DIR", path("state")},
                                      {"HORLOX_SIM_SCENARIO", path("scenario")},
                                      {"HORLOX_SIM_RECORD", path("record")}});
    }

    std::vector<LoggedCall> callLog() const {
        return readCallLog(readWholeFile(path("record/calls.log")));
    }

    TemporaryDirectory workingDirectory;
};

TEST_F(VrProgramTest, TheLeftHandsWatchIsDrawnAndPlacedOnceASecondWhileItsControllerIsOn) {
    auto program = run(
        "1 controller 1 on left\n"
        "4.5s controller 1 off\n"
        "7s quit\n");
    ASSERT_EQ(program->waitForExit(runTimeout), 0) << program->standardError();

    const std::vector<LoggedCall> calls = callLog();
    const auto switchedOn = passOf(calls, "PollNextEvent() -> VREvent_TrackedDeviceActivated");
    const auto switchedOff = passOf(calls, "PollNextEvent() -> VREvent_TrackedDeviceDeactivated");
    ASSERT_TRUE(switchedOn && switchedOff);
    ASSERT_FALSE(calls.empty());
    EXPECT_TRUE(startsWith(calls.back().text, "PollNextEvent() -> VREvent_Quit"))
        << "nothing follows the quit request";

    const HmdMatrix34_t left = {{{0, 0, -1, -0.025f},
                                 {-0.7071068f, -0.7071068f, 0, 0.07f},
                                 {-0.7071068f, 0.7071068f, 0, 0.18f}}};
    int redrawsWhileOn = 0;
    for (std::size_t i = 0; i < calls.size(); ++i) {
        if (!startsWith(calls[i].text, "SetOverlayTexture(1, ")) continue;
        EXPECT_GE(calls[i].pass, *switchedOn);
        EXPECT_LT(calls[i].pass, *switchedOff) << "no redraw once the controller is off";
        ++redrawsWhileOn;

        // Each image is followed by the left hand's placement on device 1.
        ASSERT_LT(i + 1, calls.size());
        EXPECT_EQ(calls[i + 1].pass, calls[i].pass);
        EXPECT_TRUE(startsWith(calls[i + 1].text, "SetOverlayTransformTrackedDeviceRelative(1, 1, ["))
            << calls[i + 1].text;
        HmdMatrix34_t placed;
        ASSERT_TRUE(readLoggedMatrix(calls[i + 1].text, placed));
        for (int row = 0; row < 3; ++row)
            for (int column = 0; column < 4; ++column)
                EXPECT_NEAR(placed.m[row][column], left.m[row][column], 1e-6);
    }
    int placements = 0;
    for (const LoggedCall& call : calls)
        placements += startsWith(call.text, "SetOverlayTransformTrackedDeviceRelative(") ? 1 : 0;
    EXPECT_EQ(placements, redrawsWhileOn) << "placed after each redraw and only then";
    // The first image at once, then 4.5 seconds hold four or five changes of
    // the second; a slow machine may merge two.
    EXPECT_GE(redrawsWhileOn, 4);
    EXPECT_LE(redrawsWhileOn, 6);

    int width = 0, height = 0, channels = 0;
    unsigned char* image = stbi_load(path("record/app.quillmere.horlox.watch.png").c_str(), &width,
                                     &height, &channels, 4);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(width, 256);
    EXPECT_EQ(height, 256);
    const unsigned char* centre = image + (128 * 256 + 128) * 4;
    EXPECT_EQ(centre[0], 255);
    EXPECT_EQ(centre[1], 0);
    EXPECT_EQ(centre[3], 255);
    stbi_image_free(image);

    EXPECT_NE(program->standardError().find("\nVREvent_OverlayShown\n"), std::string::npos)
        << program->standardError();
}

// The calls of one pass, in order.
std::vector<std::string> callsOfPass(const std::vector<LoggedCall>& calls, unsigned long pass) {
    std::vector<std::string> inPass;
    for (const LoggedCall& call : calls)
        if (call.pass == pass) inPass.push_back(call.text);
    return inPass;
}

// Where the texts appear in order among the calls, each after the one before.
bool appearInOrder(const std::vector<std::string>& calls, const std::vector<std::string>& starts) {
    auto next = calls.begin();
    for (const std::string& start : starts) {
        next = std::find_if(next, calls.end(),
                            [&](const std::string& call) { return startsWith(call, start); });
        if (next == calls.end()) return false;
        ++next;
    }
    return true;
}

struct Rgba {
    int r, g, b, a;
};

TEST_F(VrProgramTest, NextInTheMenuSavesTheNextWatchAndShowsItInTheSamePass) {
    const std::uint8_t blue[] = {0, 0, 255, 255};
    writeFile(path("watches/Blue/face.png"), pngOfColour(256, 256, 4, blue));
    writeFile(path("watches/Blue/config"), ":watch\nname=Blue\n:face\nfile=face.png\n");
    auto program = run(
        "1 controller 1 on left\n"
        "2 dashboard open\n"
        "3 mouse click Next\n"
        "12 quit\n");
    ASSERT_EQ(program->waitForExit(runTimeout), 0) << program->standardError();
    EXPECT_EQ(readWholeFile(path("settings.conf")), "watchOnRightHand=false\ninitialWatchName=Red\n");

    const std::vector<LoggedCall> calls = callLog();
    EXPECT_EQ(passOf(calls, "IsOverlayVisible(2) -> true"), 2u);
    EXPECT_EQ(passOf(calls, "PollNextOverlayEvent(2) -> VREvent_MouseButtonDown"), 3u);
    const auto released = passOf(calls, "PollNextOverlayEvent(2) -> VREvent_MouseButtonUp");
    ASSERT_EQ(released, 4u);
    // The menu is handed over, the watch's controller looked up and the watch
    // shown, then the new watch drawn, handed over and placed, all in that pass.
    EXPECT_TRUE(appearInOrder(callsOfPass(calls, *released),
                              {"PollNextOverlayEvent(2) -> VREvent_MouseButtonUp",
                               "SetOverlayTexture(2, ", "GetTrackedDeviceIndexForControllerRole(1) -> 1",
                               "ShowOverlay(1)", "SetOverlayTexture(1, ",
                               "SetOverlayTransformTrackedDeviceRelative(1, 1, ["}))
        << readWholeFile(path("record/calls.log"));

    int width = 0, height = 0, channels = 0;
    unsigned char* watch = stbi_load(path("record/app.quillmere.horlox.watch.png").c_str(), &width,
                                     &height, &channels, 4);
    ASSERT_NE(watch, nullptr);
    EXPECT_EQ(watch[(128 * 256 + 128) * 4], 255) << "the red watch, second by name";
    EXPECT_EQ(watch[(128 * 256 + 128) * 4 + 2], 0);
    stbi_image_free(watch);

    // The menu's last image: the panel fills it, title bar on top, and its
    // picture shows the red watch upright at 256 x 256.
    unsigned char* menu = stbi_load(path("record/app.quillmere.horlox.menu.png").c_str(), &width,
                                    &height, &channels, 4);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(width, 1280);
    ASSERT_EQ(height, 1280);
    auto pixel = [&](int x, int y) {
        const unsigned char* p = menu + (static_cast<std::size_t>(y) * 1280 + x) * 4;
        return Rgba{p[0], p[1], p[2], p[3]};
    };
    const Rgba titleBar = pixel(1200, 10), background = pixel(1200, 1200);
    EXPECT_GT(titleBar.b, titleBar.r + 40) << "ImGui's dark title bar is blue";
    EXPECT_EQ(titleBar.a, 255);
    EXPECT_NEAR(background.r, 14, 3) << "ImGui's dark window background";
    EXPECT_NEAR(background.a, 240, 3);
    int left = width, top = height, right = -1, bottom = -1, red = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Rgba p = pixel(x, y);
            if (p.r < 250 || p.g > 5 || p.b > 5) continue;
            ++red;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    stbi_image_free(menu);
    EXPECT_EQ(right - left + 1, 255) << "the face leaves the watch's first column out";
    EXPECT_EQ(bottom - top + 1, 256);
    EXPECT_GT(red, 250 * 250);
    EXPECT_GT(top, 100) << "below the title and the first rows";
}

// The runtime shows a texture's first row at the bottom, and so does its record.
TEST_F(VrProgramTest, TheDashboardIconShowsAsItsPngLooks) {
    writeFile(path("dashboard_overlay.png"), readWholeFile(HORLOX_RUN_DIR "/dashboard_overlay.png"));
    auto program = run("1 quit\n");
    ASSERT_EQ(program->waitForExit(runTimeout), 0) << program->standardError();
    const std::vector<std::uint8_t> icon = readPngPixels(path("dashboard_overlay.png"));
    ASSERT_FALSE(icon.empty());
    EXPECT_TRUE(readPngPixels(path("record/app.quillmere.horlox.menu.thumbnail.png")) == icon);
}

TEST_F(VrProgramTest, QuitInTheMiddleOfABatchEndsTheRunAtOnce) {
    auto program = run(
        "1 controller 1 on left\n"
        "1 quit\n"
        "1 controller 2 on right\n");
    ASSERT_EQ(program->waitForExit(runTimeout), 0) << program->standardError();
    const std::vector<LoggedCall> calls = callLog();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back().text, "PollNextEvent() -> VREvent_Quit, device 4294967295");
    EXPECT_FALSE(passOf(calls, "PollNextEvent() -> VREvent_TrackedDeviceActivated, device 2"));
    EXPECT_FALSE(passOf(calls, "SetOverlayTexture(1, "));
}

TEST_F(VrProgramTest, ABrokenScenarioStopsTheStartNamingItsLine) {
    auto program = run("1 controller 1 on left\n2 controller on left\n");
    ASSERT_EQ(program->waitForExit(runTimeout), 1);
    const std::string log = program->standardError();
    EXPECT_NE(log.find("Simulated VR runtime: scenario \"" + path("scenario") +
                       "\", line 2: cannot read \"2 controller on left\"\n"),
              std::string::npos)
        << log;
    const std::string lastLine = "Failed to Init OpenVR: VRInitError_Init_SettingsInitFailed\n";
    EXPECT_TRUE(log.size() >= lastLine.size() &&
                log.compare(log.size() - lastLine.size(), lastLine.size(), lastLine) == 0)
        << log;
}

}  // namespace
