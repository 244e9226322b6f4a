// The real program shows what other programs' senders send as toasts beside
// the watch: a VRCX-style datagram, a Vencord-style WebSocket message through
// python3-websockets and notify-send on a desktop of its own, on the senders'
// own ports; each in turn, the program running on.
#include <gtest/gtest.h>
#include <algorithm>
#include <filesystem>
#include <thread>

#include <sys/socket.h>

#include <nlohmann/json.hpp>

#include "support/call_log.h"
#include "support/child_process.h"
#include "support/loopback_datagram.h"
#include "support/private_desktop.h"
#include "support/test_files.h"
#include "support/x11_window_probe.h"

namespace {

using namespace std::chrono_literals;

// As VRCX sends it: a new socket for each datagram to XSOverlay's port.
void sendDatagram(const std::string& bytes) { sendLoopbackDatagram(AF_INET, 42069, bytes); }

std::string vrcxDatagram(const std::string& content) {
    return R"({"messageType":1,"index":0,"timeout":1,"height":110,"opacity":1,"volume":0,"audioPath":"",)"
           R"("title":"VRCX","content":")" + content + R"(","useBase64Icon":false,"icon":"default","sourceApp":"VRCX"})";
}

// A Vencord-style message to XSOverlay's WebSocket port, through a client
// library that is not ours.
void sendWebSocketMessage(const std::string& title) {
    const nlohmann::json data = {{"type", 1}, {"title", title}, {"content", "<b>hi</b>"}, {"timeout", 1}};
    const nlohmann::json envelope = {{"sender", "Vencord"}, {"target", "xsoverlay"}, {"command", "SendNotification"},
                                     {"jsonData", data.dump()}, {"rawData", nullptr}};
    const nlohmann::json plan = {{{"uri", "ws://127.0.0.1:42070/?client=Vencord"}, {"messages", {envelope.dump()}}}};
    TemporaryDirectory scratch;
    ChildProcess sender("/usr/bin/python3", {HORLOX_WEBSOCKET_SENDER, plan.dump()}, scratch.path());
    EXPECT_EQ(sender.waitForExit(20s), 0) << sender.standardOutput() << sender.standardError();
}

// The window's pixels right of the watch that something was drawn on.
std::size_t toastPixels() {
    const std::vector<std::uint32_t> pixels = readWindowPixels("Horlox", 256, 720 - 256, 512, 256);
    return std::size_t(std::count_if(pixels.begin(), pixels.end(), [](std::uint32_t rgb) { return rgb != 0; }));
}

TEST(ToastProgramTest, EverySendersNotificationShowsBesideTheWatchOffline) {
    PrivateDesktop desktop;
    ASSERT_TRUE(desktop.start());
    TemporaryDirectory directory;
    std::filesystem::copy(HORLOX_RUN_DIR "/watches", directory.path() + "/watches", std::filesystem::copy_options::recursive);
    ChildProcess program(HORLOX_BINARY, {"--offline"}, directory.path(), {{"DBUS_SESSION_BUS_ADDRESS", desktop.address()}});
    ASSERT_TRUE(program.waitForErrorText("Desktop notifications: monitoring the session bus", 30s)) << program.standardError();
    ASSERT_TRUE(eventually([] { return findWindowByTitle("Horlox").has_value(); }, 20s));
    EXPECT_EQ(toastPixels(), 0u) << "no toast before a notification";

    const auto shownAndGone = [&](const char* what) {
        EXPECT_TRUE(eventually([] { return toastPixels() > 500; }, 20s)) << what << " never showed: " << program.standardError();
        EXPECT_TRUE(eventually([] { return toastPixels() == 0; }, 20s)) << what << " stayed";
    };
    sendDatagram(vrcxDatagram(R"(Alice has joined \u2014 <color=#7289da>The Lobby</color>)"));
    shownAndGone("the datagram");
    sendWebSocketMessage("Vencord says");
    shownAndGone("the WebSocket message");
    EXPECT_TRUE(desktop.notifySend({"-a", "Mail", "-t", "1000", "New mail", "From <b>Alice</b>"}));
    EXPECT_TRUE(eventually([] { return toastPixels() > 500; }, 20s)) << "notify-send never showed: " << program.standardError();

    ASSERT_TRUE(program.running()) << program.standardError();
    EXPECT_EQ(program.standardError().find("runtime error"), std::string::npos);
    ASSERT_TRUE(requestWindowClose("Horlox"));
    EXPECT_EQ(program.waitForExit(10s), 0) << program.standardError();
}

// In VR the toast is an overlay of its own on the watch's controller: placed
// there, faded in and out, its image handed over; with the watch off it
// never shows.
TEST(ToastProgramTest, InVrTheToastFadesInAndOutOnTheWatchsController) {
    TemporaryDirectory directory;
    writeFile(directory.path() + "/app.manifest", readWholeFile(HORLOX_RUN_DIR "/app.manifest"));
    std::filesystem::copy(HORLOX_RUN_DIR "/watches", directory.path() + "/watches", std::filesystem::copy_options::recursive);
    writeFile(directory.path() + "/scenario", "1 controller 1 on left\n6s quit\n");
    const auto run = [&] {
        std::filesystem::remove_all(directory.path() + "/record");
        ChildProcess program(HORLOX_BINARY, {}, directory.path(),
                             {{"HORLOX_VR_RUNTIME", "simulated"}, {"HORLOX_SIM_DIR", directory.path() + "/state"},
                              {"HORLOX_SIM_SCENARIO", directory.path() + "/scenario"},
                              {"HORLOX_SIM_RECORD", directory.path() + "/record"}, {"DBUS_SESSION_BUS_ADDRESS", ""}});
        EXPECT_TRUE(program.waitForErrorText("GL_RENDERER: ", 30s)) << program.standardError();
        std::this_thread::sleep_for(1s);  // the listeners open in the first pass
        sendDatagram(vrcxDatagram("Bob has joined"));
        EXPECT_EQ(program.waitForExit(60s), 0) << program.standardError();
        return readCallLog(directory.path() + "/record");
    };
    std::vector<RecordedCall> calls = run();
    const std::vector<RecordedCall> made = matching(calls, "CreateOverlay", {"app.quillmere.horlox.toast"});
    ASSERT_EQ(made.size(), 1u);
    const std::string toast = made[0].result.at(1).substr(std::string("handle ").size());
    EXPECT_EQ(matching(calls, "SetOverlayTransformTrackedDeviceRelative", {toast, "1"}).size(), 1u);
    ASSERT_EQ(matching(calls, "SetOverlayTexture", {toast}).size(), 1u);
    std::vector<float> alphas;
    for (const RecordedCall& call : matching(calls, "SetOverlayAlpha", {toast})) alphas.push_back(std::stof(call.arguments[1]));
    const auto top = std::max_element(alphas.begin(), alphas.end());
    ASSERT_TRUE(top != alphas.end() && *top == 1.0f);
    EXPECT_TRUE(std::is_sorted(alphas.begin(), top + 1)) << "fades in";
    EXPECT_TRUE(std::is_sorted(alphas.rbegin(), std::make_reverse_iterator(top + 1))) << "fades out";
    EXPECT_EQ(matching(calls, "HideOverlay", {toast}).size(), 2u) << "hidden at the start and at the end";
    const Image image = readPng(directory.path() + "/record/app.quillmere.horlox.toast.png");
    int drawn = 0;
    for (std::size_t alpha = 3; alpha < image.rgba.size(); alpha += 4) drawn += image.rgba[alpha] > 0;
    EXPECT_GT(drawn, 20000) << "the toast's panel";

    writeFile(directory.path() + "/settings.conf", "watchVisibility=off\n");
    calls = run();
    EXPECT_TRUE(matching(calls, "ShowOverlay", {toast}).empty()) << "not with the watch off";
}

}  // namespace
