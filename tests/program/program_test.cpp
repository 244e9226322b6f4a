// The real program in a scratch working directory: offline on the test
// display, starts that cannot go on, and VR sessions against the simulated
// runtime. Notifications come from other programs' senders: a VRCX-style
// datagram on its sender's own port, and notify-send on a desktop of its own
// (the WebSocket senders are the listeners suite's).
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <csignal>
#include <filesystem>
#include <regex>
#include <thread>
#include <tuple>

#include <sys/socket.h>

#include "support/child_process.h"
#include "support/hostile_packages.h"
#include "support/loopback_datagram.h"
#include "support/private_desktop.h"
#include "support/program_session.h"
#include "support/test_files.h"
#include "support/x11_window_probe.h"

namespace {

using namespace std::chrono_literals;

// As VRCX sends it: a new socket for each datagram to XSOverlay's port.
void sendDatagram(const std::string& content) {
    sendLoopbackDatagram(AF_INET, 42069,
                         R"({"messageType":1,"index":0,"timeout":1,"height":110,"opacity":1,"volume":0,)"
                         R"("audioPath":"","title":"VRCX","content":")" + content +
                             R"(","useBase64Icon":false,"icon":"default","sourceApp":"VRCX"})");
}

// Offline, the 256 x 256 watch lands in the lower-left corner of the window
// and toasts right of it. A drawn watch has anti-aliased edges, neither black
// nor white; an undrawn window shows black or the screen's black and white
// pattern only.
std::size_t drawnPixelsInWatchCorner() {
    const std::vector<std::uint32_t> pixels = readWindowPixels("Horlox", 0, 720 - 256, 256, 256);
    return std::size_t(std::count_if(pixels.begin(), pixels.end(),
                                     [](std::uint32_t rgb) { return rgb != 0 && rgb != 0xFFFFFF; }));
}

std::size_t toastPixels() {
    const std::vector<std::uint32_t> pixels = readWindowPixels("Horlox", 256, 720 - 256, 512, 256);
    return std::size_t(std::count_if(pixels.begin(), pixels.end(), [](std::uint32_t rgb) { return rgb != 0; }));
}

// Offline with every hostile package beside the watches we ship, the chosen
// one of them, packed: the window shows it, unknown parameters are logged
// once, a datagram's and then the desktop's notification show as toasts
// beside the watch, and closing the window ends the program cleanly.
TEST(OfflineProgramTest, ShowsTheChosenWatchAndTheSendersToastsAndEndsWhenClosed) {
    PrivateDesktop desktop;
    ASSERT_TRUE(desktop.start());
    TemporaryDirectory directory;
    const std::string watches = directory.path() + "/watches";
    std::filesystem::copy(HORLOX_RUN_DIR "/watches", watches, std::filesystem::copy_options::recursive);
    installHostilePackages(watches);
    writeFile(directory.path() + "/settings.conf", "watchOnRightHand=false\ninitialWatchName=Pilot\n");
    ChildProcess program(HORLOX_BINARY, {"--offline", "foo"}, directory.path(),
                         {{"DBUS_SESSION_BUS_ADDRESS", desktop.address()}});
    ASSERT_TRUE(program.waitForErrorText("Desktop notifications: monitoring the session bus", 30s))
        << program.standardError();
    std::optional<WindowFacts> window;
    std::size_t drawn = 0;  // the first redraw follows the listing of every package
    for (auto waited = 0ms; waited < 60s && drawn < 100 && program.running(); waited += 100ms) {
        std::this_thread::sleep_for(100ms);
        window = findWindowByTitle("Horlox");
        drawn = drawnPixelsInWatchCorner();
    }
    ASSERT_TRUE(window.has_value());
    EXPECT_TRUE(window->viewable);
    EXPECT_EQ(std::tie(window->x, window->y, window->width, window->height), std::make_tuple(0, 0, 1280, 720));
    EXPECT_GE(drawn, 100u) << "the chosen watch was not drawn";
    EXPECT_EQ(toastPixels(), 0u) << "no toast before a notification";

    sendDatagram(R"(Alice has joined \u2014 <color=#7289da>The Lobby</color>)");
    EXPECT_TRUE(eventually([] { return toastPixels() > 500; }, 20s)) << "the datagram: " << program.standardError();
    EXPECT_TRUE(eventually([] { return toastPixels() == 0; }, 20s)) << "the datagram's toast stayed";
    EXPECT_TRUE(desktop.notifySend({"-a", "Mail", "-t", "1000", "New mail", "From <b>Alice</b>"}));
    EXPECT_TRUE(eventually([] { return toastPixels() > 500; }, 20s)) << "notify-send: " << program.standardError();

    ASSERT_TRUE(program.running()) << program.standardError();
    const std::string log = program.standardError();
    for (const char* line : {"] Invalid launch parameter: foo\n", "] GL_VERSION: ",
                             // listing every package unpacks the bomb; the other hostile
                             // packages tell of their faults only once chosen
                             "] Watch package is too large to unpack, skipped: watches/Bomb.7z\n"})
        EXPECT_EQ(occurrences(log, line), 1u) << line << log;
    EXPECT_EQ(log.find("runtime error"), std::string::npos) << log;
    ASSERT_TRUE(requestWindowClose("Horlox"));
    EXPECT_EQ(program.waitForExit(10s), 0) << program.standardError();
}

// Each ends at once with its status and the text it owes: --help and
// --version on standard output, before anything starts; without a display or
// with no watches, the line that says why, after the GL context's lines where
// one was made. A start without a VR runtime is the OpenXR suite's.
TEST(ProgramTest, StartsThatEndAtOnce) {
    TemporaryDirectory directory;
    const std::tuple<std::vector<std::string>, ChildProcess::Environment, int, std::string> starts[] = {
        {{"--help"}, {{"DISPLAY", ""}}, 0, R"(Usage: horlox \[--offline\] \[--wait\]\n[\s\S]*)"},
        {{"--version"}, {{"DISPLAY", ""}}, 0, R"(Horlox [0-9]+\.[0-9]+\.[0-9]+\n)"},
        {{"--offline"}, {{"DISPLAY", ""}}, 1, R"(Failed to open display\.\n)"},
        {{}, {}, 1, R"([\s\S]*\] GL_RENDERER: [\s\S]*\nNo watches found!\n)"},
    };
    for (const auto& [arguments, environment, status, text] : starts) {
        ChildProcess program(HORLOX_BINARY, arguments, directory.path(), environment);
        EXPECT_EQ(program.waitForExit(30s), status) << text;
        const std::string said = status == 0 ? program.standardOutput() : program.standardError();
        EXPECT_TRUE(std::regex_match(said, std::regex(text))) << said;
        if (status != 0) continue;
        EXPECT_EQ(program.standardError(), "") << text;
        EXPECT_FALSE(std::filesystem::exists(directory.path() + "/horlox.lock")) << "nothing started";
    }
}

const Rgba red = {255, 0, 0, 255}, green = {0, 255, 0, 255};

// One watch, red with a green band at the bottom, so that its pictures show
// which way is up.
class VrProgramTest : public ProgramSession {
protected:
    void SetUp() override {
        ProgramSession::SetUp();
        addWatch("Red", red);
        std::vector<std::uint8_t> rgba;
        for (int pixel = 0; pixel < 256 * 256; ++pixel)
            for (std::uint8_t channel : pixel < 192 * 256 ? red : green) rgba.push_back(channel);
        writeFile(path("watches/Red/face.png"), pngOfPixels(256, 256, rgba));
    }
};

// The start registers the program once and sets up both overlays, the watch
// on the controller of the settings' hand. Without a usable icon the
// thumbnail gets no texture; an empty menu font gives way to ImGui's own, with
// one log line (other unfit fonts are the menu font suite's); without a
// controller the watch stays hidden and is not drawn.
TEST_F(VrProgramTest, TheStartRegistersOnceAndSetsUpBothOverlaysAndDamagedFilesGiveWay) {
    writeFile(path("dashboard_overlay.png"), readWholeFile(HORLOX_RUN_DIR "/dashboard_overlay.png"));
    writeFile(path("settings.conf"), "watchOnRightHand=true\n");
    ASSERT_TRUE(run("1 controller 2 on right\n2 quit\n", 0));
    for (const Words& call : {Words{"AddApplicationManifest", path("app.manifest"), "false"},
                              {"SetApplicationAutoLaunch", "app.quillmere.horlox", "true"},
                              {"SetOverlayWidthInMeters", "1", "0.06"}, {"SetOverlayWidthInMeters", "2", "2"},
                              {"SetOverlayTransformAbsolute", "2", "1", "[1 0 0 0; 0 1 0 1; 0 0 1 -2]"},
                              {"SetOverlayFlag", "2", "0x10000", "true"}, {"SetOverlayInputMethod", "2", "1"},
                              {"SetOverlayTexture", "3"}, {"ShowOverlay", "2"}, {"ShowOverlay", "3"}})
        EXPECT_EQ(matching(inPass(calls, 0), call[0], Words(call.begin() + 1, call.end())).size(), 1u) << call[0];
    const std::vector<RecordedCall> placed = matching(calls, "SetOverlayTransformTrackedDeviceRelative", {"1", "2"});
    ASSERT_EQ(placed.size(), 1u);
    EXPECT_NEAR(matrixOf(placed[0].arguments[2]).m[1][0], 0.8660254f, 1e-6) << "the right hand's tilt";

    writeFile(path("dashboard_overlay.png"), "not a picture");
    writeFile(path("Roboto-Medium.ttf"), "");
    ASSERT_TRUE(run("1 dashboard open\n2 mouse click Disable\n6 quit\n", 0));
    EXPECT_EQ(occurrences(log, "] The menu font Roboto-Medium.ttf cannot be used, the built-in one is shown instead\n"), 1u)
        << log;
    for (const Words& untouched : {Words{"AddApplicationManifest"}, {"SetApplicationAutoLaunch"},
                                   {"SetOverlayTexture", "3"}})
        EXPECT_TRUE(matching(calls, untouched[0], Words(untouched.begin() + 1, untouched.end())).empty()) << untouched[0];
    EXPECT_EQ(firstPass("HideOverlay", {"1"}), 1u) << "hidden in the menu's first frame, before the click";
    EXPECT_TRUE(matching(calls, "SetOverlayTexture", {"1"}).empty()) << "nothing to draw on without a controller";
}

// Each image is followed in its pass by the left hand's placement on device 1;
// the first comes in the pass its controller comes on, then 4.5 seconds hold
// four or five changes of the second, a slow machine may merge two. The other
// hand's controller going off takes nothing away; coming on again, the watch
// is drawn in that pass, not at the clock's next second.
TEST_F(VrProgramTest, TheLeftHandsWatchIsDrawnAtOnceThenOnceASecondWhileItsControllerIsOn) {
    ASSERT_TRUE(run("1 controller 1 on left\n1 controller 2 on right\n1 dashboard open\n2s controller 2 off\n"
                    "4.5s controller 1 off\n5s controller 1 on left\n6.5s quit\n", 0));
    const std::vector<unsigned long> on = passes("PollNextEvent", {}, {"VREvent_TrackedDeviceActivated", "device 1"});
    const unsigned long off = firstPass("PollNextEvent", {}, {"VREvent_TrackedDeviceDeactivated", "device 1"});
    ASSERT_TRUE(on.size() == 2 && on[0] == 1 && off) << "on in pass 1, off, and on again";
    const std::vector<unsigned long> watchImages = passes("SetOverlayTexture", {"1"});
    ASSERT_TRUE(!watchImages.empty() && watchImages[0] == 1);
    EXPECT_NE(std::find(watchImages.begin(), watchImages.end(), on[1]), watchImages.end()) << "at once again";
    for (std::size_t i = 0; i + 1 < calls.size(); ++i) {
        if (!matches(calls[i], "SetOverlayTexture", {"1"})) continue;
        EXPECT_TRUE(calls[i].pass < off || calls[i].pass >= on[1]) << "drawn only while the controller is on";
        ASSERT_TRUE(matches(calls[i + 1], "SetOverlayTransformTrackedDeviceRelative", {"1", "1"}));
        EXPECT_EQ(calls[i + 1].pass, calls[i].pass);
        EXPECT_NEAR(matrixOf(calls[i + 1].arguments[2]).m[1][0], -0.7071068f, 1e-6);
    }
    EXPECT_EQ(matching(calls, "SetOverlayTransformTrackedDeviceRelative").size(), watchImages.size());
    const auto beforeOff = std::count_if(watchImages.begin(), watchImages.end(), [&](unsigned long pass) { return pass < off; });
    EXPECT_GE(beforeOff, 4) << "the first image at once, then one a second";
    EXPECT_LE(beforeOff, 6);
}

// The menu polls and draws nothing while the dashboard is closed. Disable
// hides the watch in the pass of its release and Enable shows it again; a
// change of hand finds the other controller in its pass and is saved. A
// read-only settings file stays as it was: the change holds for the run, and
// the log says once why it was not saved.
TEST_F(VrProgramTest, MenuButtonsTakeEffectInThePassOfTheirRelease) {
    const std::string hands = "1 controller 1 on left\n1 controller 2 on right\n1 mouse move 0.5 0.5\n3 dashboard open\n";
    ASSERT_TRUE(run(hands + "4 mouse click Disable\n4 mouse click Enable\n4 mouse click left hand\n20 quit\n", 0));
    EXPECT_EQ(firstPass("SetOverlayTexture", {"2"}), 3u);
    EXPECT_EQ(firstPass("PollNextOverlayEvent", {"2"}), 3u);
    EXPECT_EQ(firstPass("PollNextOverlayEvent", {"2"}, {"VREvent_MouseMove"}), 3u) << "the move waited";
    const std::vector<unsigned long> released = passes("PollNextOverlayEvent", {"2"}, {"VREvent_MouseButtonUp"});
    ASSERT_EQ(released.size(), 3u);
    EXPECT_EQ(firstPass("HideOverlay", {"1"}), released[0]) << "Disable";
    const std::vector<unsigned long> shown = passes("ShowOverlay", {"1"});
    const auto enabled = std::upper_bound(shown.begin(), shown.end(), released[0]);
    EXPECT_TRUE(enabled != shown.end() && *enabled == released[1]) << "Enable";
    EXPECT_EQ(firstPass("SetOverlayTransformTrackedDeviceRelative", {"1", "2"}), released[2]) << "on the right";
    const std::string saved = "watchOnRightHand=true\ninitialWatchName=Red\n";
    EXPECT_EQ(readWholeFile(path("settings.conf")), saved);

    namespace fs = std::filesystem;
    const fs::perms readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    fs::permissions(path("settings.conf"), readOnly);
    ASSERT_TRUE(run(hands + "4 mouse click right hand\n4 mouse click left hand\n12 quit\n", 0));
    EXPECT_EQ(firstPass("SetOverlayTransformTrackedDeviceRelative", {"1", "1"}),
              passes("PollNextOverlayEvent", {"2"}, {"VREvent_MouseButtonUp"}).at(0));
    EXPECT_EQ(readWholeFile(path("settings.conf")), saved);
    EXPECT_EQ(fs::status(path("settings.conf")).permissions(), readOnly);
    EXPECT_EQ(occurrences(log, "] Your choices cannot be saved: settings.conf is read-only\n"), 1u) << log;
}

// The width and the placement follow the last drags and come back at the
// next start, until a reset; Off hides the watch.
TEST_F(VrProgramTest, SlidersPlaceTheWatchAndComeBackAtTheNextStart) {
    ASSERT_TRUE(run("1 controller 1 on left\n1 dashboard open\n2 mouse click Off\n2 mouse drag Size 0.5 0\n"
                    "2 mouse drag Offset 1 1\n2 mouse drag Tilt 1 1\n30 quit\n", 0));
    const std::vector<RecordedCall> placed = matching(calls, "SetOverlayTransformTrackedDeviceRelative", {"1", "1"});
    ASSERT_FALSE(placed.empty());
    EXPECT_NEAR(matrixOf(placed.back().arguments[2]).m[1][1], std::cos(165 * M_PI / 180), 1e-6);  // 135° + 30°
    EXPECT_NEAR(matrixOf(placed.back().arguments[2]).m[2][3], 0.23, 1e-6);
    const std::vector<unsigned long> shown = passes("ShowOverlay", {"1"});
    EXPECT_TRUE(!shown.empty() && firstPass("HideOverlay", {"1"}) > shown.back()) << "Off";
    const std::string off = "watchOnRightHand=false\ninitialWatchName=Red\nwatchVisibility=off\n";
    EXPECT_EQ(readWholeFile(path("settings.conf")), off + "watchWidthCm=4\nwatchOffsetCm=5\nwatchTiltDegrees=30\n");

    ASSERT_TRUE(run("1 dashboard open\n2 mouse click Reset placement\n6 quit\n", 0));
    std::vector<std::pair<unsigned long, std::string>> widthsAgain;
    for (const RecordedCall& call : matching(calls, "SetOverlayWidthInMeters", {"1"}))
        widthsAgain.emplace_back(call.pass, call.arguments[1]);
    EXPECT_EQ(widthsAgain, (std::vector<std::pair<unsigned long, std::string>>{{0, "0.04"}, {3, "0.06"}}));
    EXPECT_EQ(readWholeFile(path("settings.conf")), off);
}

// A watch that shows a battery is drawn in the passes of its changes, besides
// once a second, and never for a watch whose controller has gone.
TEST_F(VrProgramTest, ABatteryChangeIsDrawnInThePassThatReportsIt) {
    writeFile(path("watches/Red/config"), ":watch\nname=Red\n:hand\nfile=face.png\nbattery=left\n");
    ASSERT_TRUE(run("1 controller 1 on left\n20 battery 1 0.5\n40 battery 1 0.4 charging\n"
                    "60 controller 1 off\n61 battery 1 0.3\n70 quit\n", 0));
    const std::vector<unsigned long> drawn = passes("SetOverlayTexture", {"1"});
    for (unsigned long pass : {1, 20, 40}) EXPECT_EQ(std::count(drawn.begin(), drawn.end(), pass), 1) << pass;
    EXPECT_TRUE(!drawn.empty() && drawn.back() < 60u) << "not drawn once its controller has gone";
}

// A saved watch that is no longer installed gives way to the first by name,
// which the menu offers with its neighbours; the saved name, the file's own
// lines and its CR LF line ends' values hold until the user picks another.
// A stray file beside the watches is no watch. The quit request is answered
// as OpenVR asks, acknowledged and then the session closed, the events behind
// it unpolled. Next saves the next watch and shows it in the pass of its
// release.
TEST_F(VrProgramTest, AWatchNoLongerInstalledShowsTheFirstUntilNextShowsAndSavesAnother) {
    addWatch("Blue", {0, 0, 255, 255});
    writeFile(path("watches/README.txt"), "hello\n");
    const std::string saved = "watchOnRightHand=false\r\ninitialWatchName=Gone\r\nwatchWidthCm=8\r\n# mine\r\n";
    writeFile(path("settings.conf"), saved);
    ASSERT_TRUE(run("1 controller 1 on left\n3 quit\n3 controller 2 on right\n", 0));
    ASSERT_GE(calls.size(), 3u);
    const std::vector<RecordedCall> last(calls.end() - 3, calls.end());
    EXPECT_TRUE(matches(last[0], "PollNextEvent", {}, {"VREvent_Quit"})) << last[0].name;
    EXPECT_TRUE(matches(last[1], "AcknowledgeQuit_Exiting")) << last[1].name;
    EXPECT_TRUE(matches(last[2], "VR_Shutdown")) << last[2].name;
    EXPECT_EQ(readPng(path("record/app.quillmere.horlox.watch.png")).at(128, 128), (Rgba{0, 0, 255, 255}));
    EXPECT_EQ(matching(calls, "SetOverlayWidthInMeters", {"1", "0.08"}).size(), 1u) << "8 cm, read past the CR";
    EXPECT_EQ(readWholeFile(path("settings.conf")), saved);
    EXPECT_NE(log.find("] No watch is named by this package's config, left out: watches/README.txt\n"), std::string::npos)
        << log;

    ASSERT_TRUE(run("1 controller 1 on left\n2 dashboard open\n3 mouse click Next\n12 quit\n", 0));
    EXPECT_EQ(readWholeFile(path("settings.conf")), "watchOnRightHand=false\ninitialWatchName=Red\nwatchWidthCm=8\n# mine\n");
    // The menu is handed over, the watch's controller looked up and the watch
    // shown, then the new watch drawn, handed over and placed, all in that pass.
    const std::tuple<std::string, Words, Words> order[] = {
        {"PollNextOverlayEvent", {"2"}, {"VREvent_MouseButtonUp"}}, {"SetOverlayTexture", {"2"}, {}},
        {"GetTrackedDeviceIndexForControllerRole", {"1"}, {"1"}},   {"ShowOverlay", {"1"}, {}},
        {"SetOverlayTexture", {"1"}, {}}, {"SetOverlayTransformTrackedDeviceRelative", {"1", "1"}, {}}};
    const std::vector<RecordedCall> released = inPass(calls, 4);
    auto next = released.begin();
    for (const auto& [name, arguments, result] : order) {
        next = std::find_if(next, released.end(), [&](const auto& made) { return matches(made, name, arguments, result); });
        ASSERT_NE(next++, released.end()) << name << " missing or out of order in pass 4";
    }
    EXPECT_EQ(readPng(path("record/app.quillmere.horlox.watch.png")).at(128, 128), red) << "second by name";

    // The menu's last image: the panel fills it, title bar on top, and its
    // picture shows the red watch at 256 x 256, its first column left out, upright.
    const Image menu = readPng(path("record/app.quillmere.horlox.menu.png"));
    ASSERT_EQ(std::make_pair(menu.width, menu.height), std::make_pair(1280, 1280));
    EXPECT_GT(menu.at(1200, 10)[2], menu.at(1200, 10)[0] + 40) << "ImGui's dark title bar is blue";
    EXPECT_NEAR(menu.at(1200, 1200)[0], 14, 3) << "ImGui's dark window background";
    EXPECT_NEAR(menu.at(1200, 1200)[3], 240, 3);
    int left = menu.width, top = menu.height, right = -1, bottom = -1;
    for (int y = 0; y < menu.height; ++y)
        for (int x = 0; x < menu.width; ++x)
            if (menu.at(x, y) == red)
                left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = y;
    EXPECT_EQ(std::make_pair(right - left + 1, bottom - top + 1), std::make_pair(255, 192));
    EXPECT_EQ(menu.at(left + 100, bottom + 1), green) << "the band below the red";
    EXPECT_GT(top, 100) << "below the title and the first rows";
}

// In the pass its controller changes hands or goes off, the watch goes to the
// controller now in its hand, placed anew with a fresh image, or hides; a
// disabled watch is not handed over (one switched off hides: the sliders' test).
TEST_F(VrProgramTest, TheWatchFollowsItsHandAndIsNotDrawnWhileNobodyCanSeeIt) {
    ASSERT_TRUE(run("1 controller 1 on left\n1 controller 2 on right\n2s controller 1 role right\n"
                    "2s controller 2 role left\n3s controller 2 off\n5s quit\n", 0));
    const unsigned long moved = lastPass("PollNextEvent", {}, {"VREvent_TrackedDeviceRoleChanged"});
    const unsigned long off = firstPass("PollNextEvent", {}, {"VREvent_TrackedDeviceDeactivated"});
    ASSERT_TRUE(moved && off);
    const std::vector<unsigned long> images = passes("SetOverlayTexture", {"1"});
    EXPECT_EQ(firstPass("SetOverlayTransformTrackedDeviceRelative", {"1", "2"}), moved) << "placed on its new controller";
    EXPECT_NE(std::find(images.begin(), images.end(), moved), images.end()) << "with a fresh image";
    EXPECT_EQ(lastPass("HideOverlay", {"1"}), off) << "hidden when its controller goes";
    EXPECT_LT(lastPass("SetOverlayTexture", {"1"}), off);

    writeFile(path("settings.conf"), "");
    ASSERT_TRUE(run("1 controller 1 on left\n1 dashboard open\n2 mouse click Disable\n5s dashboard close\n7s quit\n", 0));
    const unsigned long disabled = firstPass("PollNextOverlayEvent", {"2"}, {"VREvent_MouseButtonUp"});
    EXPECT_TRUE(disabled && lastPass("SetOverlayTexture", {"1"}) < disabled) << "disabled";
    // The menu still pictures it, drawn anew each second while the menu is open.
    const std::vector<unsigned long> menuImages = passes("SetOverlayTexture", {"2"});
    EXPECT_GE(std::count_if(menuImages.begin(), menuImages.end(), [&](unsigned long pass) { return pass > disabled + 3; }),
              2);
}

// Saved to show only when looked at, the watch is neither shown nor drawn
// while hidden; a glance brings it in with a fresh image, fading, and takes
// it away again.
TEST_F(VrProgramTest, AHiddenWatchCostsNoRedrawAndAppearsWithAFreshImage) {
    const std::string saved = "watchOnRightHand=false\ninitialWatchName=Red\nwatchVisibility=whenLookedAt\n";
    writeFile(path("settings.conf"), saved);
    ASSERT_TRUE(run("1 controller 1 on left\n1.5s controller 1 at 0.18 1.075 -0.32 yaw -90 roll -90\n"
                    "3.5s controller 1 at -0.2 1 -0.1\n5s quit\n", 0));
    std::vector<std::pair<unsigned long, std::string>> watch;  // its images and visibility, in order
    for (const RecordedCall& call : calls)
        for (const char* name : {"SetOverlayTexture", "SetOverlayAlpha", "ShowOverlay", "HideOverlay"})
            // hiding a hidden watch again changes nothing
            if (matches(call, name, {"1"}) && !(watch.size() && watch.back().second == name && call.name == "HideOverlay"))
                watch.emplace_back(call.pass, call.name);
    ASSERT_GE(watch.size(), 4u);
    const unsigned long reveal = watch[1].first;
    // It starts hidden and is drawn anew just before it shows.
    EXPECT_EQ(decltype(watch)(watch.begin(), watch.begin() + 4),
              (decltype(watch){{0, "HideOverlay"}, {reveal, "SetOverlayTexture"}, {reveal, "SetOverlayAlpha"},
                               {reveal, "ShowOverlay"}}));
    EXPECT_EQ(watch.back().second, "HideOverlay") << "not drawn hidden";

    // The alpha reaches 1, through values between (the fade's course is tested alone).
    std::vector<float> alphas;
    for (const RecordedCall& call : matching(calls, "SetOverlayAlpha", {"1"})) alphas.push_back(std::stof(call.arguments[1]));
    EXPECT_NE(std::find(alphas.begin(), alphas.end(), 1.0f), alphas.end());
    EXPECT_TRUE(std::any_of(alphas.begin(), alphas.end(), [](float alpha) { return alpha > 0 && alpha < 1; }));
    EXPECT_EQ(readWholeFile(path("settings.conf")), saved);
}

// In VR the toast is an overlay of its own on the watch's controller: placed
// there, faded, its image handed over; with the watch off it never shows.
TEST_F(VrProgramTest, TheToastFadesInAndOutOnTheWatchsControllerAndNeverShowsWithTheWatchOff) {
    writeFile(path("scenario"), "1 controller 1 on left\n6s quit\n");
    const auto runWithADatagram = [&] {
        ChildProcess program(HORLOX_BINARY, {}, directory.path(), simulatedEnvironment({{"DBUS_SESSION_BUS_ADDRESS", ""}}));
        EXPECT_TRUE(program.waitForErrorText("GL_RENDERER: ", 30s)) << program.standardError();
        std::this_thread::sleep_for(1s);  // the listeners open in the first pass
        sendDatagram("Bob has joined");
        EXPECT_EQ(program.waitForExit(60s), 0) << program.standardError();
        calls = readCallLog(path("record"));
    };
    runWithADatagram();
    const std::vector<RecordedCall> made = matching(calls, "CreateOverlay", {"app.quillmere.horlox.toast"});
    ASSERT_EQ(made.size(), 1u);
    const std::string toast = made[0].result.at(1).substr(std::string("handle ").size());
    EXPECT_EQ(matching(calls, "SetOverlayTransformTrackedDeviceRelative", {toast, "1"}).size(), 1u);
    ASSERT_EQ(matching(calls, "SetOverlayTexture", {toast}).size(), 1u);
    std::vector<float> alphas;
    for (const RecordedCall& call : matching(calls, "SetOverlayAlpha", {toast})) alphas.push_back(std::stof(call.arguments[1]));
    EXPECT_NE(std::find(alphas.begin(), alphas.end(), 1.0f), alphas.end());
    EXPECT_TRUE(std::any_of(alphas.begin(), alphas.end(), [](float alpha) { return alpha > 0 && alpha < 1; })) << "fades";
    EXPECT_EQ(matching(calls, "HideOverlay", {toast}).size(), 2u) << "hidden at the start and at the end";
    const Image image = readPng(path("record/app.quillmere.horlox.toast.png"));
    int drawn = 0;
    for (std::size_t alpha = 3; alpha < image.rgba.size(); alpha += 4) drawn += image.rgba[alpha] > 0;
    EXPECT_GT(drawn, 20000) << "the toast's panel";

    writeFile(path("settings.conf"), "watchVisibility=off\n");
    runWithADatagram();
    EXPECT_TRUE(matching(calls, "ShowOverlay", {toast}).empty()) << "not with the watch off";
}

// A second copy in the same run directory says so in one line and ends with
// 0 at once, touching neither the display nor the runtime, while the first
// goes on. A copy killed outright leaves nothing locked behind.
TEST_F(VrProgramTest, ASecondCopyInTheSameRunDirectoryEndsAtOnceAndTheFirstGoesOn) {
    writeFile(path("scenario"), "1 controller 1 on left\n");
    TemporaryDirectory elsewhere;  // the other copies' output
    ChildProcess first(HORLOX_BINARY, {}, directory.path(), simulatedEnvironment());
    ASSERT_TRUE(eventually([&] { return !matching(readCallLog(path("record")), "SetOverlayTexture", {"1"}).empty(); }, 30s))
        << first.standardError();
    ChildProcess second(HORLOX_BINARY, {}, directory.path(), simulatedEnvironment(), elsewhere.path());
    EXPECT_EQ(second.waitForExit(30s), 0);
    EXPECT_NE(second.standardError().find("] Horlox is already running.\n"), std::string::npos);
    EXPECT_EQ(occurrences(second.standardError(), "\n"), 1u) << second.standardError();
    std::this_thread::sleep_for(500ms);
    EXPECT_TRUE(first.running()) << first.standardError();
    calls = readCallLog(path("record"));
    EXPECT_EQ(matching(calls, "CreateOverlay", {"app.quillmere.horlox.watch"}).size(), 1u) << "the first's record, untouched";

    EXPECT_EQ(first.killAndWait(60s), -SIGKILL);
    ChildProcess third(HORLOX_BINARY, {}, directory.path(), simulatedEnvironment(), elsewhere.path());
    EXPECT_TRUE(third.waitForErrorText("] GL_RENDERER: ", 30s)) << third.standardError();
    EXPECT_TRUE(third.running());
    EXPECT_EQ(third.killAndWait(60s), -SIGKILL);
}

// Started before the runtime, it waits for it, connects when it runs, and
// after its quit request waits for the next one.
TEST_F(VrProgramTest, WithWaitItWaitsForTheRuntimeAndAgainAfterItQuits) {
    expectTwoSessionsOfAWaitingProgram({}, true);
}

}  // namespace
