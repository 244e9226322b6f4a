// The real program, built with the OpenVR SDK, through the SDK's own client
// library against the simulated runtime installed as an OpenVR runtime
// (stand_in_runtime.cpp), which keeps SteamVR's conventions on Linux.
#include <gtest/gtest.h>

#include <filesystem>

#include "config/settings.h"
#include "support/call_log.h"
#include "support/child_process.h"
#include "support/gl_test_context.h"
#include "support/menu_gui_context.h"
#include "support/test_files.h"
#include "ui/menu_buttons.h"
#include "ui/menu_panel.h"
#include "watch/watch_catalogue.h"

namespace {

constexpr auto runTimeout = std::chrono::seconds(60);

// A working directory with the shipped manifest and icon and two watches of
// one colour each: Blue, the first by name, and Red.
class OpenVrProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* shipped : {"app.manifest", "dashboard_overlay.png"})
            writeFile(path(shipped), readWholeFile(std::string(HORLOX_RUN_DIR "/") + shipped));
        const std::uint8_t blue[] = {0, 0, 255, 255}, red[] = {255, 0, 0, 255};
        writeFile(path("watches/Blue/face.png"), pngOfColour(256, 256, 4, blue));
        writeFile(path("watches/Blue/config"), ":watch\nname=Blue\n:face\nfile=face.png\n");
        writeFile(path("watches/Red/face.png"), pngOfColour(256, 256, 4, red));
        writeFile(path("watches/Red/config"), ":watch\nname=Red\n:face\nfile=face.png\n");
    }

    std::string path(const std::string& name) const { return workingDirectory.path() + "/" + name; }

    // The client library finds the stand-in as a runtime installed there.
    std::unique_ptr<ChildProcess> run(const std::string& scenario, const ChildProcess::Environment& more = {}) {
        writeFile(path("scenario"), scenario);
        ChildProcess::Environment environment = {
            {"HORLOX_VR_RUNTIME", "openvr"},          {"VR_OVERRIDE", OPENVR_STAND_IN_RUNTIME},
            {"VR_CONFIG_PATH", path("openvr-config")}, {"VR_LOG_PATH", path("openvr-log")},
            {"HORLOX_SIM_DIR", path("state")},         {"HORLOX_SIM_SCENARIO", path("scenario")},
            {"HORLOX_SIM_RECORD", path("record")}};
        environment.insert(environment.end(), more.begin(), more.end());
        return std::make_unique<ChildProcess>(HORLOX_BINARY, std::vector<std::string>{},
                                              workingDirectory.path(), environment);
    }

    TemporaryDirectory workingDirectory;
};

// Where "Next" stands as the menu draws it, from the top-left as a person
// sees it: "x y" in fractions. The program draws the very same frame first,
// with ImGui's own font, as there is no menu font in its working directory.
std::string middleOfNext(const std::string& watchesFolder) {
    ensureGlContext();
    MenuGuiContext gui;
    Settings settings;
    const WatchCatalogue catalogue(settings, nullptr, watchesFolder);
    drawMenuFrame(settings, catalogue);
    const std::optional<ButtonPlace> next = findMenuButton("Next");
    if (!next) return "";
    return std::to_string((next->left + next->right) / 2 / menuSize) + " " +
           std::to_string((next->top + next->bottom) / 2 / menuSize);
}

bool endsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

TEST_F(OpenVrProgramTest, ASessionWithAClickOnNextAtTheRuntimesCoordinates) {
    const std::string next = middleOfNext(path("watches"));
    ASSERT_FALSE(next.empty());
    auto program = run("1 controller 1 on left\n2 dashboard open\n3 mouse move " + next +
                       "\n3 mouse down left\n4 mouse up left\n6 quit\n");
    ASSERT_EQ(program->waitForExit(runTimeout), 0) << program->standardError();

    const std::vector<RecordedCall> calls = readCallLog(path("record"));
    for (const Words& call : {Words{"AddApplicationManifest", path("app.manifest"), "false"},
                              {"SetApplicationAutoLaunch", "app.quillmere.horlox", "true"}})
        EXPECT_EQ(matching(calls, call[0], Words(call.begin() + 1, call.end())).size(), 1u) << call[0];
    EXPECT_EQ(passesOf(calls, "GetTrackedDeviceIndexForControllerRole", {"1"}, {"1"}).front(), 1u);
    EXPECT_EQ(passesOf(calls, "PollNextOverlayEvent", {"2"}, {"VREvent_MouseButtonUp"}),
              std::vector<unsigned long>{4});
    const std::vector<RecordedCall> placed = matching(calls, "SetOverlayTransformTrackedDeviceRelative", {"1", "1"});
    ASSERT_FALSE(placed.empty());
    EXPECT_NEAR(matrixOf(placed.back().arguments[2]).m[2][3], 0.18, 1e-6);
    EXPECT_EQ(calls.back().result[0], "VREvent_Quit") << "nothing follows the quit request";
    EXPECT_EQ(readWholeFile(path("settings.conf")), "watchOnRightHand=false\ninitialWatchName=Red\n");
    EXPECT_NE(program->standardError().find("\nVREvent_OverlayShown\n"), std::string::npos);

    const Image watch = readPng(path("record/app.quillmere.horlox.watch.png"));
    ASSERT_EQ(watch.width, 256);
    EXPECT_EQ(watch.at(128, 128)[0], 255) << "the red watch, drawn after the click";
    const Image icon = readPng(path("dashboard_overlay.png"));
    ASSERT_GT(icon.width, 0);
    EXPECT_TRUE(readPng(path("record/app.quillmere.horlox.menu.thumbnail.png")).rgba == icon.rgba)
        << "the icon shows as its PNG looks";
}

TEST_F(OpenVrProgramTest, ARuntimeWithoutAnInterfaceTheProgramNeedsEndsTheStart) {
    for (const char* missing : {"IVROverlay_022", "IVRApplications_007"}) {
        auto program = run("", {{"HORLOX_STAND_IN_WITHHOLD", missing}});
        EXPECT_EQ(program->waitForExit(runTimeout), 1) << missing;
        EXPECT_TRUE(endsWith(program->standardError(),
                             "Failed to Init OpenVR: VRInitError_Init_InterfaceNotFound\n"))
            << missing << ": " << program->standardError();
    }
}

}  // namespace
