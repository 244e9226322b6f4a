// The real program on OpenXR against the real Monado service (built by
// scripts/monado), one service per test, poses from Monado's remote driver:
// what monado-ctl lists, what Monado's own window shows, what the program
// says and how it ends. Without a Monado build only the starts that need no
// runtime run.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <optional>
#include <thread>
#include <tuple>

#include "menu_layout.h"
#include "monado_service.h"
#include "remote_driver.h"
#include "support/child_process.h"
#include "support/test_files.h"
#include "support/x11_window_probe.h"
#include "vr/openxr/openxr_pose.h"
#include "vr/watch_placement.h"

namespace {

using namespace std::chrono_literals;

// The OpenXR loader and Monado's client library leak a little on every
// instance made and destroyed, as a program of a few lines shows; Monado's
// library is unloaded by then, so its frames cannot be named in a
// suppression. Leaks of the program's own are checked by every other suite.
const ChildProcess::Environment sanitizerWithoutLeaks = {
    {"ASAN_OPTIONS", "abort_on_error=0:halt_on_error=1:detect_leaks=0"}};

const Rgba green = {0, 255, 0, 255}, blue = {0, 0, 255, 255};
const XrPosef standingHead = {{0, 0, 0, 1}, {0, 1.6f, 0}};

// A turn about the vertical by the angle, to the left.
XrQuaternionf turnLeft(float degrees) {
    const float half = degrees * 3.14159265f / 360;
    return {0, std::sin(half), 0, std::cos(half)};
}

Pose inverseOf(const Pose& pose) {
    const Quaternion back{-pose.orientation.x, -pose.orientation.y, -pose.orientation.z, pose.orientation.w};
    const Vector3 offset = rotated(back, pose.position);
    return {back, {-offset.x, -offset.y, -offset.z}};
}

// The controller pose that puts the hand's watch (the default placement) at
// the point, its face towards +z, where the standing head looks from, then
// turned to the left by the angle.
XrPosef controllerWithWatchAt(bool rightHand, XrVector3f point, float turnDegrees = 0) {
    return xrPoseOf(placedOn(poseOf({turnLeft(turnDegrees), point}), inverseOf(watchPlacement(rightHand))));
}

// The test watch's face is green with a blue band along its bottom, so that
// its pictures show which way is up; the rest of Monado's window stays dark
// or shows the main application's scene, which has no such green.
bool dominates(int channel, int other, int third) {
    return channel > 40 && channel > 2 * other + 20 && channel > 2 * third + 20;
}
bool watchGreen(std::uint32_t rgb) { return dominates((rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF, rgb & 0xFF); }
bool watchBlue(std::uint32_t rgb) { return dominates(rgb & 0xFF, (rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF); }

// Where the watch shows in the left eye's half of Monado's window.
struct WatchSighting {
    std::size_t pixels = 0;
    double x = 0, y = 0;  // the centroid of the green, from the top-left corner
    int brightest = 0;    // the greatest green of its pixels
    double bandY = 0;     // the blue band's centroid
};
constexpr int eyeWidth = 480, eyeHeight = 540;

WatchSighting lookAtLeftEye() {
    const std::vector<std::uint32_t> pixels = readWindowPixels("Monado", 0, 0, eyeWidth, eyeHeight);
    WatchSighting seen;
    std::size_t band = 0;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        if (watchBlue(pixels[i])) ++band, seen.bandY += double(i / eyeWidth);
        if (!watchGreen(pixels[i])) continue;
        ++seen.pixels;
        seen.x += double(i % eyeWidth);
        seen.y += double(i / eyeWidth);
        seen.brightest = std::max(seen.brightest, int((pixels[i] >> 8) & 0xFF));
    }
    if (seen.pixels) seen.x /= double(seen.pixels), seen.y /= double(seen.pixels);
    if (band) seen.bandY /= double(band);
    return seen;
}

// Looks until the sighting satisfies the test, or 30 s have passed; the
// program under the sanitizers takes some seconds to its first frame.
template <typename Test>
WatchSighting lookUntil(Test test) {
    WatchSighting seen;
    eventually([&] { return test(seen = lookAtLeftEye()); }, 30s);
    return seen;
}

// The program in a scratch folder with one all-green watch and the given
// settings, against a Monado service.
class MonadoProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (monadoBuildFolder().empty()) GTEST_SKIP() << "no Monado build (scripts/monado, -DHORLOX_MONADO_DIR)";
        writeFile(path("app.manifest"), readWholeFile(HORLOX_RUN_DIR "/app.manifest"));
        std::vector<std::uint8_t> rgba;
        for (int pixel = 0; pixel < 256 * 256; ++pixel)
            for (std::uint8_t channel : pixel < 192 * 256 ? green : blue) rgba.push_back(channel);
        writeFile(path("watches/Green/face.png"), pngOfPixels(256, 256, rgba));
        writeFile(path("watches/Green/config"), ":watch\nname=Green\n:face\nfile=face.png\n");
    }

    std::string path(const std::string& name) const { return directory.path() + "/" + name; }
    bool saved(const std::string& line) const {
        return readWholeFile(path("settings.conf")).find(line) != std::string::npos;
    }

    void startService(MonadoService::Compositor compositor) {
        service = std::make_unique<MonadoService>(compositor);
        ASSERT_TRUE(service->ready()) << service->log();
        driver = std::make_unique<RemoteDriver>(service->remotePort());
        ASSERT_TRUE(driver->connected());
    }

    // HORLOX_VR_RUNTIME unset: the program chooses OpenXR as Monado offers overlays.
    void startProgram() {
        ChildProcess::Environment environment = service->clientEnvironment();
        environment.insert(environment.end(), sanitizerWithoutLeaks.begin(), sanitizerWithoutLeaks.end());
        environment.push_back({"HORLOX_VR_RUNTIME", ""});
        program =
            std::make_unique<ChildProcess>(HORLOX_BINARY, std::vector<std::string>{}, directory.path(), environment);
    }

    // Each hand with its watch's place at the point given for it, the face
    // towards -z turned left by the angle; a hand not wearing the watch holds
    // the controller so.
    void holdHands(XrVector3f left, XrVector3f right, float leftTurnDegrees = 0, float rightTurnDegrees = 0) {
        ASSERT_TRUE(driver->send(standingHead, controllerWithWatchAt(false, left, leftTurnDegrees),
                                 controllerWithWatchAt(true, right, rightTurnDegrees)));
    }

    TemporaryDirectory directory;
    std::unique_ptr<MonadoService> service;
    std::unique_ptr<RemoteDriver> driver;
    std::unique_ptr<ChildProcess> program;
};

TEST(OpenXrStartTest, WithoutARuntimeTheStartEndsWithItsResult) {
    TemporaryDirectory directory;
    writeFile(directory.path() + "/watches/Plain/config", ":watch\nname=Plain\n");
    const std::string nowhere = directory.path() + "/no-runtime.json";
    const std::tuple<ChildProcess::Environment, std::string, std::string> starts[] = {
        {{{"HORLOX_VR_RUNTIME", "openxr"}, {"XR_RUNTIME_JSON", nowhere}},
         "VR runtime: openxr, as HORLOX_VR_RUNTIME says so\n",
         "Failed to Init OpenXR: XR_ERROR_RUNTIME_UNAVAILABLE\n"},
        // Unset, a machine without an OpenXR runtime goes to OpenVR.
        {{{"HORLOX_VR_RUNTIME", ""},
          {"XR_RUNTIME_JSON", nowhere},
          {"VR_OVERRIDE", nowhere},
          {"VR_CONFIG_PATH", nowhere},
          {"VR_LOG_PATH", nowhere}},
         "VR runtime: openvr, as no active OpenXR runtime offers overlays (XR_EXTX_overlay)\n",
         "Failed to Init OpenVR: VRInitError_Init_InstallationNotFound\n"},
    };
    for (const auto& [environment, chosen, last] : starts) {
        ChildProcess program(HORLOX_BINARY, {}, directory.path(), environment);
        EXPECT_EQ(program.waitForExit(30s), 1) << last;
        const std::string log = program.standardError();
        EXPECT_NE(log.find("] " + chosen), std::string::npos) << log;
        EXPECT_NE(log.find("] GL_RENDERER: "), std::string::npos) << "the GL context comes first: " << log;
        EXPECT_EQ(log.substr(log.size() - std::min(log.size(), last.size())), last) << log;
    }
}

// Under the XCB compositor Monado's window shows what each eye sees; the
// watch stands 30 cm before the eyes, 8 cm to the side of the hand wearing
// it, upright. Shown only when looked at, it hides once turned 65° further
// away from the head, and shows again facing it.
class MonadoPictureTest : public MonadoProgramTest, public ::testing::WithParamInterface<bool> {};

TEST_P(MonadoPictureTest, TheWatchShowsOnTheChosenHandFollowsItsGripAndHidesAsItTurnsAway) {
    const bool rightHand = GetParam();
    writeFile(path("settings.conf"), std::string("watchOnRightHand=") + (rightHand ? "true" : "false") +
                                         "\nwatchVisibility=whenLookedAt\n");
    ASSERT_NO_FATAL_FAILURE(startService(MonadoService::Compositor::Xcb));
    // The hand wearing the watch raised by the height, turned away from the head.
    const auto hold = [&](float raised, float awayDegrees) {
        const float left = rightHand ? 0 : raised, right = rightHand ? raised : 0;
        holdHands({-0.08f, 1.6f + left, -0.3f}, {0.08f, 1.6f + right, -0.3f}, -awayDegrees, awayDegrees);
    };
    ASSERT_NO_FATAL_FAILURE(hold(0, 0));
    startProgram();
    const WatchSighting seen = lookUntil([](const WatchSighting& s) { return s.pixels > 500 && s.brightest >= 250; });
    ASSERT_GT(seen.pixels, 500u) << program->standardError();
    EXPECT_GE(seen.brightest, 250);
    // The eye looks from 3 cm left of the head's centre: the left watch shows
    // well left of the half's middle, the right one right of it.
    EXPECT_GT(rightHand ? seen.x - eyeWidth / 2 : eyeWidth / 2 - seen.x, 40) << seen.x;
    EXPECT_NEAR(seen.y, eyeHeight / 2, 20);
    EXPECT_GT(seen.bandY, seen.y + 10) << "the band shows at the bottom: the watch is upright";

    // The hand wearing it rises by 5 cm, the watch with it.
    ASSERT_NO_FATAL_FAILURE(hold(0.05f, 0));
    const WatchSighting raised = lookUntil([&](const WatchSighting& s) { return s.y < seen.y - 40; });
    EXPECT_LT(raised.y, seen.y - 40) << "from " << seen.y;
    EXPECT_NEAR(raised.x, seen.x, 10);
    EXPECT_NEAR(double(raised.pixels), double(seen.pixels), 0.2 * double(seen.pixels));

    ASSERT_NO_FATAL_FAILURE(hold(0.05f, 65));
    EXPECT_EQ(lookUntil([](const WatchSighting& s) { return s.pixels == 0; }).pixels, 0u);
    ASSERT_NO_FATAL_FAILURE(hold(0.05f, 0));
    EXPECT_GE(lookUntil([](const WatchSighting& s) { return s.brightest >= 250; }).brightest, 250);
    ASSERT_TRUE(program->running()) << program->standardError();
}

INSTANTIATE_TEST_SUITE_P(Hands, MonadoPictureTest, ::testing::Bool(),
                         [](const auto& hand) { return hand.param ? "Right" : "Left"; });

// The controller's aim from the point towards the target: its -z turned
// onto the way there.
XrPosef aimingFrom(XrVector3f from, XrVector3f target) {
    XrVector3f d = {target.x - from.x, target.y - from.y, target.z - from.z};
    const float length = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
    d = {d.x / length, d.y / length, d.z / length};
    // Halfway between -z and the way: (-z x d, 1 + (-z . d)), made of unit length.
    XrQuaternionf q = {d.y, -d.x, 0, 1 - d.z};
    const float norm = std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w);
    return {{q.x / norm, q.y / norm, q.z / norm, q.w / norm}, from};
}

// With Monado running and nothing chosen, the program becomes an overlay
// client of it. The menu opens from the hand without the watch (the right one
// here), held long on its menu button: it stands 0.8 m before the standing
// head, 0.6 m wide, and the laser clicks its buttons where the menu's own
// layout puts them. A short press opens nothing; the same long press closes
// it. The service's death ends the program as a quit request does, at once,
// leaving the settings as they were.
TEST_F(MonadoProgramTest, AnOverlayClientWhoseMenuTheControllerOpensAndItsLaserClicks) {
    writeFile(path("settings.conf"), "watchOnRightHand=false\ninitialWatchName=Green\n");
    writeFile(path("watches/Red/face.png"), readWholeFile(path("watches/Green/face.png")));
    writeFile(path("watches/Red/config"), ":watch\nname=Red\n:face\nfile=face.png\n");
    ASSERT_NO_FATAL_FAILURE(startService(MonadoService::Compositor::Null));
    const XrPosef watchHand = controllerWithWatchAt(false, {-0.08f, 1.3f, -0.3f});
    const XrVector3f pointingHand = {0.15f, 1.3f, -0.3f};
    XrPosef aim = aimingFrom(pointingHand, {0.15f, 1.3f, -2});
    const auto hold = [&](ControllerInput right) {
        ASSERT_TRUE(driver->send(standingHead, watchHand, aim, {}, right));
    };
    const auto press = [&](ControllerInput right, std::chrono::milliseconds length) {
        hold(right);
        std::this_thread::sleep_for(length);
        hold({});
    };
    // The laser on the button's middle, where the menu stands.
    const auto aimAt = [&](const std::string& label) {
        const std::optional<ButtonPlace> button = menuButtonInFolder(directory.path(), label);
        ASSERT_TRUE(button) << label;
        const float x = (button->left + button->right) / 2 / 1280, y = (button->top + button->bottom) / 2 / 1280;
        aim = aimingFrom(pointingHand, {-0.3f + 0.6f * x, 1.6f + 0.3f - 0.6f * y, -0.8f});
        hold({});
        // The menu frames of the move pass.
        std::this_thread::sleep_for(500ms);
    };
    hold({});
    startProgram();
    ASSERT_TRUE(program->waitForErrorText("OpenXR session: XR_SESSION_STATE_FOCUSED", 30s)) << program->standardError();
    EXPECT_NE(program->standardError().find(
                  "] VR runtime: openxr, as the active OpenXR runtime offers overlays (XR_EXTX_overlay)\n"),
              std::string::npos);
    const std::string listing = service->control();
    const std::size_t client = listing.find("\tHorlox");
    ASSERT_NE(client, std::string::npos) << listing;
    const std::string line = listing.substr(listing.rfind('\n', client) + 1, client - listing.rfind('\n', client));
    EXPECT_NE(line.find("ovly: 1"), std::string::npos) << line;
    EXPECT_NE(line.find("foc: 1"), std::string::npos) << line;

    press({true}, 250ms);
    std::this_thread::sleep_for(1s);
    EXPECT_EQ(program->standardError().find("menu opens"), std::string::npos) << program->standardError();
    // A click where "Next" will stand does nothing while the menu is closed.
    ASSERT_NO_FATAL_FAILURE(aimAt("Next"));
    press({false, 1}, 400ms);

    press({true}, 1200ms);
    ASSERT_TRUE(program->waitForErrorText("OpenXR: the menu opens from the right hand", 10s))
        << program->standardError();
    EXPECT_TRUE(saved("initialWatchName=Green")) << readWholeFile(path("settings.conf"));

    // The move reaches the menu before the pull.
    std::this_thread::sleep_for(500ms);
    press({false, 1}, 400ms);
    EXPECT_TRUE(eventually([&] { return saved("initialWatchName=Red"); }, 20s)) << program->standardError();

    // A trigger pulled only part of the way is no click.
    ASSERT_NO_FATAL_FAILURE(aimAt("left hand"));
    press({false, 0.5f}, 400ms);
    std::this_thread::sleep_for(1s);
    EXPECT_TRUE(saved("watchOnRightHand=false")) << readWholeFile(path("settings.conf"));
    press({false, 1}, 400ms);
    EXPECT_TRUE(eventually([&] { return saved("watchOnRightHand=true"); }, 20s)) << program->standardError();

    // The hand that opened it closes it, though it wears the watch now.
    press({true}, 1200ms);
    EXPECT_TRUE(program->waitForErrorText("OpenXR: the menu closes", 10s)) << program->standardError();
    ASSERT_TRUE(program->running()) << program->standardError();

    const std::string settings = readWholeFile(path("settings.conf"));
    service->kill();
    EXPECT_EQ(program->waitForExit(5s), 0) << program->standardError();
    EXPECT_NE(program->standardError().find("XR_ERROR_INSTANCE_LOST"), std::string::npos) << program->standardError();
    EXPECT_EQ(readWholeFile(path("settings.conf")), settings);
}

}  // namespace
