// The real program, built with the OpenVR SDK, through the SDK's own client
// library against the simulated runtime installed as an OpenVR runtime
// (stand_in_runtime.cpp), which keeps SteamVR's conventions on Linux.
#include <gtest/gtest.h>

#include <algorithm>

#include "menu_layout.h"
#include "support/program_session.h"
#include "ui/menu_panel.h"

namespace {

// The shipped icon and two watches: Blue, the first by name, and Red.
class OpenVrProgramTest : public ProgramSession {
protected:
    void SetUp() override {
        ProgramSession::SetUp();
        writeFile(path("dashboard_overlay.png"), readWholeFile(HORLOX_RUN_DIR "/dashboard_overlay.png"));
        addWatch("Blue", {0, 0, 255, 255});
        addWatch("Red", {255, 0, 0, 255});
    }

    // The client library finds the stand-in as a runtime installed there.
    ChildProcess::Environment throughOpenVr(const std::string& withheldInterface = "") const {
        return {{"HORLOX_VR_RUNTIME", "openvr"}, {"VR_OVERRIDE", OPENVR_STAND_IN_RUNTIME},
                {"VR_CONFIG_PATH", path("openvr-config")}, {"VR_LOG_PATH", path("openvr-log")},
                {"HORLOX_STAND_IN_WITHHOLD", withheldInterface}};
    }
};

// The click lands where the menu's own layout puts "Next", in fractions from
// the top-left as a person sees it; the stand-in turns them into OpenVR's.
TEST_F(OpenVrProgramTest, ASessionWithAClickOnNextAtTheRuntimesCoordinates) {
    const std::optional<ButtonPlace> next = menuButtonInFolder(directory.path(), "Next");
    ASSERT_TRUE(next);
    const std::string x = std::to_string((next->left + next->right) / 2 / menuSize);
    const std::string y = std::to_string((next->top + next->bottom) / 2 / menuSize);
    ASSERT_TRUE(run("1 controller 1 on left\n2 dashboard open\n3 mouse move " + x + " " + y +
                    "\n3 mouse down left\n4 mouse up left\n6 quit\n", 0, throughOpenVr()));

    EXPECT_EQ(readWholeFile(path("settings.conf")), "watchOnRightHand=false\ninitialWatchName=Red\n");
    EXPECT_NE(log.find("] Watch overlay: VREvent_OverlayShown\n"), std::string::npos) << log;

    const Image watch = readPng(path("record/app.quillmere.horlox.watch.png"));
    ASSERT_EQ(watch.width, 256);
    EXPECT_EQ(watch.at(128, 128)[0], 255) << "the red watch, drawn after the click";
    const Image icon = readPng(path("dashboard_overlay.png"));
    ASSERT_GT(icon.width, 0);
    EXPECT_TRUE(readPng(path("record/app.quillmere.horlox.menu.thumbnail.png")).rgba == icon.rgba)
        << "the icon shows as its PNG looks";
}

TEST_F(OpenVrProgramTest, ARuntimeWithoutAnInterfaceTheProgramNeedsEndsTheStart) {
    const std::string last = "Failed to Init OpenVR: VRInitError_Init_InterfaceNotFound\n";
    for (const char* missing : {"IVROverlay_022", "IVRApplications_007"}) {
        EXPECT_TRUE(run("", 1, throughOpenVr(missing))) << missing;
        EXPECT_EQ(log.substr(log.size() - std::min(log.size(), last.size())), last) << missing;
    }
}

// Through the client library a background application's check finds no
// runtime without starting one, and each session after the first comes in a
// process started anew.
TEST_F(OpenVrProgramTest, WithWaitItWaitsForTheRuntimeAndAgainAfterItQuits) {
    expectTwoSessionsOfAWaitingProgram(throughOpenVr(), false);
}

}  // namespace
