// The real program, built with the OpenVR SDK, through the SDK's own client
// library against our stand-in runtime (stand_in_runtime.cpp), which keeps
// SteamVR's conventions on Linux.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "config/settings.h"
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
        std::filesystem::create_directories(path("runtime"));
    }

    std::string path(const std::string& name) const { return workingDirectory.path() + "/" + name; }

    // The client library finds the stand-in as a runtime installed there.
    std::unique_ptr<ChildProcess> run(const ChildProcess::Environment& standIn) {
        ChildProcess::Environment environment = {
            {"HORLOX_VR_RUNTIME", "openvr"},          {"VR_OVERRIDE", OPENVR_STAND_IN_RUNTIME},
            {"VR_CONFIG_PATH", path("openvr-config")}, {"VR_LOG_PATH", path("openvr-log")},
            {"HORLOX_STAND_IN_DIR", path("runtime")}};
        environment.insert(environment.end(), standIn.begin(), standIn.end());
        return std::make_unique<ChildProcess>(HORLOX_BINARY, std::vector<std::string>{},
                                              workingDirectory.path(), environment);
    }

    bool runtimeHeard(const std::string& call) const {
        std::istringstream log(readWholeFile(path("runtime/calls.log")));
        for (std::string line; std::getline(log, line);)
            if (line == call) return true;
        return false;
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
    auto program = run({{"HORLOX_STAND_IN_CLICK", next}});
    ASSERT_EQ(program->waitForExit(runTimeout), 0) << program->standardError();

    for (const std::string& call : std::vector<std::string>{
             "IsInterfaceVersionValid(IVRSystem_021) -> yes",
             "IsInterfaceVersionValid(IVROverlay_022) -> yes",
             "IsInterfaceVersionValid(IVRApplications_007) -> yes",
             "AddApplicationManifest(" + path("app.manifest") + ", false)",
             "SetApplicationAutoLaunch(app.quillmere.horlox, true)",
             "GetTrackedDeviceIndexForControllerRole(1) -> 1",
             "SetOverlayTexture(app.quillmere.horlox.watch, 256 x 256)",
             "SetOverlayTransformTrackedDeviceRelative(app.quillmere.horlox.watch, 1, -0.025 0.07 0.18)",
             "IsOverlayVisible(app.quillmere.horlox.menu) -> true",
             "PollNextOverlayEvent(app.quillmere.horlox.menu, 60) -> 302",
             "PollNextEvent(60) -> 700"})
        EXPECT_TRUE(runtimeHeard(call)) << call << "\n" << readWholeFile(path("runtime/calls.log"));
    EXPECT_EQ(readWholeFile(path("settings.conf")), "watchOnRightHand=false\ninitialWatchName=Red\n");
    EXPECT_NE(program->standardError().find("\nVREvent_OverlayShown\n"), std::string::npos);

    const Image watch = readPng(path("runtime/app.quillmere.horlox.watch.png"));
    ASSERT_EQ(watch.width, 256);
    EXPECT_EQ(watch.at(128, 128)[0], 255) << "the red watch, drawn after the click";
    const Image icon = readPng(path("dashboard_overlay.png"));
    ASSERT_GT(icon.width, 0);
    EXPECT_TRUE(readPng(path("runtime/app.quillmere.horlox.menu.thumbnail.png")).rgba == icon.rgba)
        << "the icon shows as its PNG looks";
}

TEST_F(OpenVrProgramTest, ARuntimeWithoutAnInterfaceTheProgramNeedsEndsTheStart) {
    for (const char* missing : {"IVROverlay_022", "IVRApplications_007"}) {
        auto program = run({{"HORLOX_STAND_IN_WITHHOLD", missing}});
        EXPECT_EQ(program->waitForExit(runTimeout), 1) << missing;
        EXPECT_TRUE(endsWith(program->standardError(),
                             "Failed to Init OpenVR: VRInitError_Init_InterfaceNotFound\n"))
            << missing << ": " << program->standardError();
    }
}

}  // namespace
