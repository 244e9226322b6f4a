// The simulated runtime as the program meets it: through VrRuntime only.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <GL/glew.h>
#include <stb_image.h>

#include "support/debug_output_capture.h"
#include "support/gl_test_context.h"
#include "vr/simulated_session.h"

namespace {

TEST(VrSimulatedRuntimeTest, StartFailsWithTheFaultNamed) {
    SimulatedSession session("1 quit\n2 controller 1 sideways\n");
    {
        DebugOutputCapture output;
        EXPECT_EQ(session.makeRuntime()->Init(VRApplication_Overlay),
                  VRInitError_Init_SettingsInitFailed);
        EXPECT_NE(output.text().find("line 2: cannot read \"2 controller 1 sideways\""),
                  std::string::npos)
            << output.text();
    }

    DebugOutputCapture output;
    auto missingScenario =
        createSimulatedRuntime({session.path("state"), session.path("absent"), "", {}});
    EXPECT_EQ(missingScenario->Init(VRApplication_Overlay), VRInitError_Init_FileNotFound);

    writeFile(session.path("plain file"), "");
    auto stateIsAFile = createSimulatedRuntime({session.path("plain file"), "", "", {}});
    EXPECT_EQ(stateIsAFile->Init(VRApplication_Overlay), VRInitError_Init_PathRegistryNotWritable);

    auto recordIsAFile =
        createSimulatedRuntime({session.path("state"), "", session.path("plain file"), {}});
    EXPECT_EQ(recordIsAFile->Init(VRApplication_Overlay), VRInitError_Init_NoLogPath);
    EXPECT_STREQ(recordIsAFile->GetVRInitErrorAsSymbol(VRInitError_Init_NoLogPath),
                 "VRInitError_Init_NoLogPath");
}

TEST(VrSimulatedRuntimeTest, ActionsHappenAtTheStartOfTheirPassInFileOrder) {
    SimulatedSession session(
        "2 controller 5 on right\n"
        "1 controller 3 on left\n"
        "2 controller 3 role right\n"
        "3 controller 5 off\n"
        "0s dashboard open\n"
        "1000s quit\n");
    auto runtime = session.startedRuntime();
    auto deviceFor = [&](ETrackedControllerRole role) {
        return runtime->GetTrackedDeviceIndexForControllerRole(role);
    };
    EXPECT_EQ(deviceFor(TrackedControllerRole_LeftHand), k_unTrackedDeviceIndexInvalid);

    std::vector<VREvent_t> pass = pollPass(*runtime);
    ASSERT_EQ(pass.size(), 2u);
    EXPECT_EQ(pass[0].eventType, VREvent_TrackedDeviceActivated);
    EXPECT_EQ(pass[0].trackedDeviceIndex, 3u);
    EXPECT_EQ(pass[1].eventType, VREvent_DashboardActivated);
    EXPECT_EQ(deviceFor(TrackedControllerRole_LeftHand), 3u);
    EXPECT_EQ(deviceFor(TrackedControllerRole_RightHand), k_unTrackedDeviceIndexInvalid);

    pass = pollPass(*runtime);
    ASSERT_EQ(pass.size(), 2u);
    EXPECT_EQ(pass[0].trackedDeviceIndex, 5u);
    EXPECT_EQ(pass[1].eventType, VREvent_TrackedDeviceRoleChanged);
    EXPECT_EQ(deviceFor(TrackedControllerRole_LeftHand), k_unTrackedDeviceIndexInvalid);
    EXPECT_EQ(deviceFor(TrackedControllerRole_RightHand), 3u);  // the lowest index wins
    EXPECT_EQ(deviceFor(TrackedControllerRole_Invalid), k_unTrackedDeviceIndexInvalid);

    pass = pollPass(*runtime);
    ASSERT_EQ(pass.size(), 1u);
    EXPECT_EQ(pass[0].eventType, VREvent_TrackedDeviceDeactivated);
    EXPECT_TRUE(pollPass(*runtime).empty());

    const std::string log = session.callLog();
    EXPECT_NE(log.find("pass 0: GetTrackedDeviceIndexForControllerRole(1) -> 4294967295\n"),
              std::string::npos);
    EXPECT_NE(log.find("pass 3: PollNextEvent() -> VREvent_TrackedDeviceDeactivated, device 5\n"),
              std::string::npos);
}

TEST(VrSimulatedRuntimeTest, AnEventRecordOfAnotherSizeGetsNothing) {
    SimulatedSession session("1 quit\n");
    auto runtime = session.startedRuntime();
    VREvent_t event;
    EXPECT_FALSE(runtime->PollNextEvent(&event, 60));
    EXPECT_TRUE(runtime->PollNextEvent(&event, sizeof event));
    EXPECT_EQ(event.eventType, VREvent_Quit);
    EXPECT_STREQ(runtime->GetEventTypeNameFromEnum(VREvent_Quit), "VREvent_Quit");
}

TEST(VrSimulatedRuntimeTest, OverlaysHearOfTheirVisibilityAndTheMenuOfTheMouse) {
    SimulatedSession session(
        "1 mouse move 0.5 0.25\n"
        "2 dashboard open\n"
        "2 mouse move 0.5 0.25\n"
        "2 mouse down right\n"
        "2 mouse scroll 1 -2\n"
        "2 mouse smoothscroll 0.5 0\n"
        "3 dashboard close\n");
    auto runtime = session.startedRuntime();
    VROverlayHandle_t watch = 0, menu = 0, thumbnail = 0, again = 0;
    ASSERT_EQ(runtime->CreateOverlay("key.watch", "Watch", &watch), VROverlayError_None);
    ASSERT_EQ(runtime->CreateDashboardOverlay("key.menu", "Menu", &menu, &thumbnail),
              VROverlayError_None);
    EXPECT_EQ(runtime->CreateOverlay("key.watch", "Again", &again), VROverlayError_KeyInUse);
    EXPECT_EQ(runtime->ShowOverlay(99), VROverlayError_UnknownOverlay);

    runtime->ShowOverlay(watch);
    runtime->ShowOverlay(watch);
    runtime->ShowOverlay(menu);
    EXPECT_TRUE(runtime->IsOverlayVisible(watch));
    EXPECT_FALSE(runtime->IsOverlayVisible(menu));  // the dashboard is closed
    runtime->HideOverlay(watch);
    EXPECT_FALSE(runtime->IsOverlayVisible(watch));

    VREvent_t event;
    ASSERT_TRUE(runtime->PollNextOverlayEvent(watch, &event, sizeof event));
    EXPECT_EQ(event.eventType, VREvent_OverlayShown);
    ASSERT_TRUE(runtime->PollNextOverlayEvent(watch, &event, sizeof event));
    EXPECT_EQ(event.eventType, VREvent_OverlayHidden);
    EXPECT_FALSE(runtime->PollNextOverlayEvent(watch, &event, sizeof event));

    // No mouse before the menu takes mouse input.
    pollPass(*runtime);
    ASSERT_TRUE(runtime->PollNextOverlayEvent(menu, &event, sizeof event));
    EXPECT_EQ(event.eventType, VREvent_OverlayShown);
    EXPECT_FALSE(runtime->PollNextOverlayEvent(menu, &event, sizeof event));

    runtime->SetOverlayInputMethod(menu, VROverlayInputMethod_Mouse);
    pollPass(*runtime);
    EXPECT_TRUE(runtime->IsOverlayVisible(menu));
    ASSERT_TRUE(runtime->PollNextOverlayEvent(menu, &event, sizeof event));
    EXPECT_EQ(event.eventType, VREvent_MouseMove);
    EXPECT_FLOAT_EQ(event.data.mouse.x, 0.5f);
    EXPECT_FLOAT_EQ(event.data.mouse.y, 0.75f) << "from the bottom, as SteamVR on Linux sends it";
    ASSERT_TRUE(runtime->PollNextOverlayEvent(menu, &event, sizeof event));
    EXPECT_EQ(event.eventType, VREvent_MouseButtonDown);
    EXPECT_EQ(event.data.mouse.button, static_cast<std::uint32_t>(VRMouseButton_Right));
    ASSERT_TRUE(runtime->PollNextOverlayEvent(menu, &event, sizeof event));
    EXPECT_EQ(event.eventType, VREvent_ScrollDiscrete);
    EXPECT_FLOAT_EQ(event.data.scroll.xdelta, 1.0f);
    EXPECT_FLOAT_EQ(event.data.scroll.ydelta, -2.0f);
    ASSERT_TRUE(runtime->PollNextOverlayEvent(menu, &event, sizeof event));
    EXPECT_EQ(event.eventType, VREvent_ScrollSmooth);
    EXPECT_FLOAT_EQ(event.data.scroll.xdelta, 0.5f);
    EXPECT_FALSE(runtime->PollNextOverlayEvent(thumbnail, &event, sizeof event));

    pollPass(*runtime);
    EXPECT_FALSE(runtime->IsOverlayVisible(menu));
    // The menu's question is logged only when its answer changes.
    EXPECT_EQ(linesWith(session.callLog(), "IsOverlayVisible(2)").size(), 3u);
}

TEST(VrSimulatedRuntimeTest, ADeviceRelativeTransformNeedsAValidDeviceIndex) {
    SimulatedSession session;
    auto runtime = session.startedRuntime();
    VROverlayHandle_t watch = 0;
    runtime->CreateOverlay("key.watch", "Watch", &watch);
    const HmdMatrix34_t identity = {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}}};
    EXPECT_EQ(runtime->SetOverlayTransformTrackedDeviceRelative(watch, 1, &identity),
              VROverlayError_None);
    EXPECT_EQ(runtime->SetOverlayTransformTrackedDeviceRelative(watch, 63, &identity),
              VROverlayError_None);
    EXPECT_EQ(runtime->SetOverlayTransformTrackedDeviceRelative(watch, 64, &identity),
              VROverlayError_InvalidTrackedDevice);
    EXPECT_EQ(runtime->SetOverlayTransformTrackedDeviceRelative(
                  watch, k_unTrackedDeviceIndexInvalid, &identity),
              VROverlayError_InvalidTrackedDevice);
    EXPECT_NE(session.callLog().find("SetOverlayTransformTrackedDeviceRelative(1, 4294967295, "
                                     "[1 0 0 0; 0 1 0 0; 0 0 1 0]) -> "
                                     "VROverlayError_InvalidTrackedDevice"),
              std::string::npos)
        << session.callLog();
}

// A 2 x 2 texture: red along its first row, blue along its second.
GLuint twoRowTexture() {
    const unsigned char pixels[] = {255, 0, 0, 255, 255, 0, 0, 255,
                                    0, 0, 255, 255, 0, 0, 255, 255};
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    return texture;
}

TEST(VrSimulatedRuntimeTest, ASubmittedImageIsMeasuredAndRecordedUpright) {
    ensureGlContext();
    SimulatedSession session;
    auto runtime = session.startedRuntime();
    VROverlayHandle_t watch = 0;
    runtime->CreateOverlay("key.watch", "Watch", &watch);
    std::uint32_t width = 0, height = 0;
    EXPECT_NE(runtime->GetOverlayTextureSize(watch, &width, &height), VROverlayError_None);

    const GLuint texture = twoRowTexture();
    GLuint bystander = 0;
    glGenTextures(1, &bystander);
    glBindTexture(GL_TEXTURE_2D, bystander);
    const Texture_t submitted{reinterpret_cast<void*>(static_cast<std::uintptr_t>(texture)),
                              TextureType_OpenGL, ColorSpace_Auto};
    EXPECT_EQ(runtime->SetOverlayTexture(watch, &submitted), VROverlayError_None);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), bystander);

    ASSERT_EQ(runtime->GetOverlayTextureSize(watch, &width, &height), VROverlayError_None);
    EXPECT_EQ(width, 2u);
    EXPECT_EQ(height, 2u);

    // OpenGL's first row is the bottom of the picture.
    int pngWidth = 0, pngHeight = 0, channels = 0;
    unsigned char* png = stbi_load(session.path("record/key.watch.png").c_str(), &pngWidth,
                                   &pngHeight, &channels, 4);
    ASSERT_NE(png, nullptr);
    EXPECT_EQ(pngWidth, 2);
    EXPECT_EQ(png[2], 255);  // top left is blue
    EXPECT_EQ(png[8], 255);  // bottom left is red
    stbi_image_free(png);

    const Texture_t notATexture{reinterpret_cast<void*>(std::uintptr_t{987654}), TextureType_OpenGL,
                                ColorSpace_Auto};
    EXPECT_EQ(runtime->SetOverlayTexture(watch, &notATexture), VROverlayError_InvalidTexture);
    const Texture_t otherApi{submitted.handle, static_cast<ETextureType>(0), ColorSpace_Auto};
    EXPECT_EQ(runtime->SetOverlayTexture(watch, &otherApi), VROverlayError_InvalidTexture);
}

}  // namespace
