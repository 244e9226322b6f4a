// The listeners with real senders: UDP datagrams byte for byte as VRCX
// sends them, and python3-websockets for both WebSocket APIs, hostile
// clients included. What a message says is read in sender_messages_test.cpp;
// here it is how it arrives. Every test listens on free ports of its own.
#include <cstdio>
#include <gtest/gtest.h>
#include <netdb.h>
#include <nlohmann/json.hpp>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

#include "notifications/notification_center.h"
#include "notifications/websocket_server.h"
#include "support/child_process.h"
#include "support/debug_output_capture.h"
#include "support/loopback_datagram.h"
#include "support/test_files.h"

namespace {

using namespace std::chrono_literals;

const NotificationEndpoints anyFreePorts{0, 0, 0, ""};
const NotificationSwitches sendersOnly{true, false, true, true};

class ListenersTest : public ::testing::Test {
protected:
    // The senders' listeners on free ports, served once so that they are bound.
    void SetUp() override { serve(*center, 20ms); }

    // Serves passes for a while (or until the sender ends), collecting what
    // came; once the sender has printed 'mark', as if 'later' had passed.
    std::vector<Notification> serve(NotificationCenter& center, std::chrono::milliseconds duration,
                                    ChildProcess* sender = nullptr, const std::string& mark = "",
                                    std::chrono::seconds later = {}) {
        std::vector<Notification> received;
        const auto end = std::chrono::steady_clock::now() + duration;
        auto pass = [&] {
            const bool marked = !mark.empty() && sender->standardOutput().find(mark) != std::string::npos;
            for (Notification& notification :
                 serviceNotificationListeners(center, std::chrono::steady_clock::now() + (marked ? later : 0s)))
                received.push_back(std::move(notification));
        };
        while (std::chrono::steady_clock::now() < end) {
            pass();
            if (sender && !sender->running()) break;
            std::this_thread::sleep_for(2ms);
        }
        pass();
        return received;
    }

    // Runs websocket_sender.py with the plan while serving; its output lines.
    std::pair<std::string, std::vector<Notification>> sendOverWebSocket(NotificationCenter& center,
                                                                         const nlohmann::json& plan,
                                                                         const std::string& mark = "",
                                                                         std::chrono::seconds later = {}) {
        ChildProcess sender("/usr/bin/python3", {std::string(HORLOX_NOTIFICATION_TESTS) + "/websocket_sender.py", plan.dump()},
                            folder.path());
        std::vector<Notification> received = serve(center, 30s, &sender, mark, later);
        EXPECT_EQ(sender.waitForExit(1s), 0) << sender.standardError();
        return {sender.standardOutput(), received};
    }

    LogCapture output;
    TemporaryDirectory folder;
    NotificationCenterPointer center = createNotificationCenter(sendersOnly, anyFreePorts);
};

std::string vrcxDatagram(const std::string& content) {
    return R"({"messageType":1,"index":0,"timeout":5.0,"height":110.0,"opacity":1.0,"volume":0.0,"audioPath":"",)"
           R"("title":"VRCX","content":")" + content + R"(","useBase64Icon":false,"icon":"","sourceApp":"VRCX"})";
}

std::vector<std::string> titles(const std::vector<Notification>& notifications) {
    std::vector<std::string> result;
    for (const Notification& notification : notifications) result.push_back(notification.title + "|" + notification.content);
    return result;
}

// Loopback addresses only, and ports that stay ours: no reuse flag on UDP;
// on TCP SO_REUSEADDR (to listen again over closed connections) and never
// SO_REUSEPORT, so that a listener with both still cannot take the port.
TEST_F(ListenersTest, SocketsAreLoopbackOnlyAndPortsStayOurs) {
    const NotificationWait wait = notificationWait(*center, std::chrono::steady_clock::now());
    ASSERT_EQ(wait.fds.size(), 6u);
    for (int fd : wait.fds) {
        sockaddr_storage address{};
        socklen_t length = sizeof address;
        ASSERT_EQ(getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length), 0);
        char text[NI_MAXHOST] = "";
        getnameinfo(reinterpret_cast<sockaddr*>(&address), length, text, sizeof text, nullptr, 0, NI_NUMERICHOST);
        EXPECT_TRUE(std::string(text) == "127.0.0.1" || std::string(text) == "::1") << text;
        int type = 0, reuse = 1, reusePort = 1;
        socklen_t size = sizeof reuse;
        getsockopt(fd, SOL_SOCKET, SO_TYPE, &type, &size);
        getsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &reuse, &size);
        getsockopt(fd, SOL_SOCKET, SO_REUSEPORT, &reusePort, &size);
        EXPECT_EQ(reuse, type == SOCK_STREAM ? 1 : 0) << text;
        EXPECT_EQ(reusePort, 0) << text;
        if (type != SOCK_STREAM) continue;
        const int intruder = socket(address.ss_family, SOCK_STREAM, 0);
        const int on = 1;
        setsockopt(intruder, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        setsockopt(intruder, SOL_SOCKET, SO_REUSEPORT, &on, sizeof on);
        EXPECT_NE(bind(intruder, reinterpret_cast<sockaddr*>(&address), length), 0) << text;
        close(intruder);
    }
}

// A port that another program holds (here the fixture's centre) stays its
// own: one log line naming it and its holder, then a new try every 30 s.
TEST_F(ListenersTest, TakenPortIsTriedAgainEvery30Seconds) {
    const int port = notificationPortsBound(*center).xsOverlayUdp;
    auto waiting = createNotificationCenter({true, false, true, false}, {port, 0, 0, ""});
    const auto start = std::chrono::steady_clock::now();
    serviceNotificationListeners(*waiting, start);
    serviceNotificationListeners(*waiting, start + 1s);
    EXPECT_EQ(notificationPortsBound(*waiting).xsOverlayUdp, 0);
    const std::string line = "XSOverlay UDP: port " + std::to_string(port) + " not available (Address already in use, held by ";
    EXPECT_NE(output.text().find(line), std::string::npos) << output.text();
    setNotificationSwitches(*center, {false, false, false, false});
    serviceNotificationListeners(*waiting, start + 29s);
    EXPECT_EQ(notificationPortsBound(*waiting).xsOverlayUdp, 0);
    EXPECT_EQ(notificationWait(*waiting, start + 29s).serveBy, start + 30s);
    serviceNotificationListeners(*waiting, start + 30s);
    EXPECT_EQ(notificationPortsBound(*waiting).xsOverlayUdp, port);
    // One line when taken, one when free again.
    EXPECT_EQ(std::count(output.text().begin(), output.text().end(), '\n'), 2) << output.text();
}

TEST_F(ListenersTest, FloodsAreCutPerSourceApp) {
    const int port = notificationPortsBound(*center).xsOverlayUdp;
    for (int i = 0; i < 30; ++i) sendLoopbackDatagram(AF_INET, port, vrcxDatagram("flood " + std::to_string(i)));
    // Another sender over IPv6, non-ASCII as \u escapes as VRCX writes them.
    sendLoopbackDatagram(AF_INET6, port, R"({"messageType":1,"title":"other","content":"\u2014 \ud83d\ude00"})");
    // Ten pass the flood limit; of those, VRCX's two places take two.
    const auto received = serve(*center, 300ms);
    EXPECT_EQ(titles(received), (std::vector<std::string>{"VRCX|flood 0", "VRCX|flood 1", "other|\u2014 \U0001F600"}));
    EXPECT_NE(output.text().find("] Notifications from XSOverlay 'VRCX' dropped: more than 5 a second"), std::string::npos)
        << "the flood stops before the queue";
}

// Every kind of refusal at once, as fast as the sender can, for three
// seconds: each kind of line at most once a second.
TEST_F(ListenersTest, RefusalsGrowTheLogByAFewLinesASecond) {
    const int port = notificationPortsBound(*center).xsOverlayUdp;
    const std::string refused[] = {"{", R"({"messageType":2,"title":"t"})", R"({"messageType":1,"title":7})",
                                   R"({"messageType":1})", vrcxDatagram("flood")};
    std::size_t sent = 0;
    for (const auto end = std::chrono::steady_clock::now() + 3s; std::chrono::steady_clock::now() < end;) {
        for (const std::string& bytes : refused) sendLoopbackDatagram(AF_INET, port, bytes);
        sent += std::size(refused);
        serviceNotificationListeners(*center, std::chrono::steady_clock::now());
    }
    std::printf("%zu refused datagrams in 3 s wrote %zu bytes of log\n", sent, output.text().size());
    EXPECT_GT(sent, 10000u);
    EXPECT_LT(output.text().size(), 6u * 4 * 200);
    EXPECT_NE(output.text().find("more like this left out"), std::string::npos);
}

// Switched off, the source's ports close and stay closed, and its toasts go.
TEST_F(ListenersTest, SwitchesCloseListenersAndDropToasts) {
    const int port = notificationPortsBound(*center).xsOverlayUdp;
    sendLoopbackDatagram(AF_INET, port, vrcxDatagram("before"));
    ASSERT_EQ(serve(*center, 100ms).size(), 1u);
    setNotificationSwitches(*center, {true, false, false, true});
    EXPECT_TRUE(serve(*center, 100ms).empty()) << "the listeners' next pass opens nothing switched off";
    EXPECT_EQ(notificationPortsBound(*center).xsOverlayUdp, 0);
    EXPECT_EQ(notificationPortsBound(*center).xsOverlayWebSocket, 0);
    EXPECT_NE(notificationPortsBound(*center).ovrToolkitWebSocket, 0);
    EXPECT_FALSE(currentNotificationToast(*center, std::chrono::steady_clock::now()).toast);
    setNotificationSwitches(*center, {false, true, true, true});
    EXPECT_EQ(notificationWait(*center, std::chrono::steady_clock::now()).fds.size(), 0u);
}

std::string vencordMessage(const std::string& title) {
    return nlohmann::json{{"sender", "Vencord"}, {"target", "xsoverlay"}, {"command", "SendNotification"},
                          {"jsonData", nlohmann::json{{"type", 1}, {"title", title}, {"content", "<b>hi</b>"},
                                                      {"timeout", 3}}.dump()},
                          {"rawData", nullptr}}.dump();
}

// OVR Toolkit's API as VRCX uses it comes last, its icon read as the toast
// found its place.
TEST_F(ListenersTest, WebSocketsFromVencordVrcxAndHostileClients) {
    const int port = notificationPortsBound(*center).xsOverlayWebSocket;
    const std::string base = "ws://127.0.0.1:" + std::to_string(port) + "/";
    const std::string ovrToolkit = "ws://127.0.0.1:" + std::to_string(notificationPortsBound(*center).ovrToolkitWebSocket);
    const std::uint8_t green[] = {0, 255, 0, 255};
    const nlohmann::json fields = {{"title", "VRCX"}, {"body", "Dave is online"}, {"icon", base64Of(pngOfColour(8, 8, 4, green))}};
    const nlohmann::json plan = {
        {{"uri", base + "?client=Vencord"}, {"origin", "https://discord.com"},
         {"messages", {R"({"sender":"Vencord","target":"xsoverlay","command":"SubscribeToEvents","jsonData":"[]"})",
                       vencordMessage("first")}}},
        {{"uri", base}, {"messages", {vencordMessage("no client")}}},
        {{"uri", "ws://evil.example:" + std::to_string(port) + "/?client=Page"}, {"port", port},
         {"messages", {vencordMessage("rebound")}}},
        {{"uri", base + "?client=Page"}, {"origin", "https://evil.example"}, {"messages", {vencordMessage("page")}}},
        {{"uri", base + "?client=Big"}, {"messages", {{{"repeat", "x"}, {"times", 1024 * 1024 + 1}}}}, {"hold", 1}},
        {{"uri", base + "?client=Many"}, {"together", 5}, {"hold", 0.5}},
        {{"uri", "ws://localhost:" + std::to_string(port) + "/?client=After"}, {"messages", {vencordMessage("last")}}},
        {{"uri", ovrToolkit + "/api"},
         {"messages", {nlohmann::json{{"messageType", "SendNotification"}, {"json", fields.dump()}}.dump()}}},
        {{"uri", ovrToolkit + "/"}},
    };
    const auto [lines, received] = sendOverWebSocket(*center, plan);
    // Refused handshakes are hung up on; of 5 connections under one name, 4
    // are taken (the refusal comes first, as the sender reports them when
    // all are tried).
    std::string expected = "open\nclosed 1000\n";
    for (int i = 0; i < 3; ++i) expected += "refused InvalidMessage\n";
    expected += "open\nclosed 1009\nrefused InvalidMessage\n";
    for (int i = 0; i < 4; ++i) expected += "open\n";
    for (int i = 0; i < 4; ++i) expected += "closed 1000\n";
    expected += "open\nclosed 1000\nopen\nclosed 1000\nrefused InvalidMessage\n";
    EXPECT_EQ(lines, expected) << output.text();
    ASSERT_EQ(titles(received), (std::vector<std::string>{"first|hi", "last|hi", "VRCX|Dave is online"}));
    EXPECT_EQ(received[0].sourceName, "Vencord");
    EXPECT_EQ(received[1].sourceName, "After");
    EXPECT_EQ(received[2].source, NotificationSource::OvrToolkit);
    EXPECT_EQ(received[2].icon.width, 8);
    // The first of each kind; the rest come at most once a second.
    for (const char* line : {"handshake refused: no ?client= name", "connection closed: message too big"})
        EXPECT_NE(output.text().find(line), std::string::npos) << line;
}

// A client frame in hex, masked with a zero key (so that the payload reads
// as it is) unless told.
std::string clientFrame(int first, const std::string& payload, bool masked = true) {
    std::string bytes = {static_cast<char>(first), static_cast<char>((masked ? 0x80 : 0) | std::min<std::size_t>(payload.size(), 126))};
    if (payload.size() >= 126) bytes += {static_cast<char>(payload.size() >> 8), static_cast<char>(payload.size())};
    bytes += (masked ? std::string(4, '\0') : "") + payload;
    std::string hex;
    for (unsigned char c : bytes) hex += "0123456789abcdef"[c >> 4], hex += "0123456789abcdef"[c & 15];
    return hex;
}

// Each fault closes its connection with 1002 (1007 for text that is no
// UTF-8) and shows nothing; the next connection is served as ever.
TEST_F(ListenersTest, WebSocketFramingFaultsCloseTheConnection) {
    const std::string uri = "ws://127.0.0.1:" + std::to_string(notificationPortsBound(*center).xsOverlayWebSocket) +
                            "/?client=Raw";
    const std::string message = vencordMessage("taken");
    nlohmann::json plan;
    for (const std::string& frames :
         {clientFrame(0x81, message, false), clientFrame(0xC1, message), clientFrame(0x83, message),
          clientFrame(0x8B, message), clientFrame(0x09, "") + clientFrame(0x81, message), clientFrame(0x89, std::string(126, 'p')),
          clientFrame(0x80, message), clientFrame(0x01, message.substr(0, 9)) + clientFrame(0x81, message),
          clientFrame(0x81, "\xC0\xAF")})
        plan.push_back({{"uri", uri}, {"raw", frames}});
    plan.push_back({{"uri", uri}, {"messages", {vencordMessage("after")}}});
    const auto [lines, received] = sendOverWebSocket(*center, plan);
    std::string expected;
    for (int i = 0; i < 8; ++i) expected += "closed 1002\n";
    EXPECT_EQ(lines, expected + "closed 1007\nopen\nclosed 1000\n") << output.text();
    EXPECT_EQ(titles(received), std::vector<std::string>{"after|hi"});
}

// The friend's "open after <seconds> s", shown with the test's output.
double friendWaited(const std::string& lines) {
    double seconds = -1;
    const std::size_t at = lines.find("open after ");
    if (at != std::string::npos) std::sscanf(lines.c_str() + at, "open after %lf", &seconds);
    std::printf("A friend's notification went out after %.2f s\n", seconds);
    return seconds;
}

// Sixteen idle connections take every slot: a friend gets one once they
// have had their grace, and after 30 s without a word the rest are closed.
TEST_F(ListenersTest, IdleWebSocketsGiveWayToAFriendAndClose) {
    const std::string base = "ws://127.0.0.1:" + std::to_string(notificationPortsBound(*center).xsOverlayWebSocket) + "/?client=";
    const nlohmann::json plan = {
        {{"uri", base + "Idle{i}"}, {"together", 16}, {"hold", 20}, {"background", true}},
        {{"uri", base + "Friend"}, {"messages", {vencordMessage("friend")}}, {"retry", 10}, {"say", "friend done"}},
    };
    const auto [lines, received] = sendOverWebSocket(*center, plan, "friend done", webSocketIdleTimeout);
    EXPECT_EQ(titles(received), std::vector<std::string>{"friend|hi"});
    EXPECT_LT(friendWaited(lines), 5);
    EXPECT_EQ(occurrences(lines, "closed 1013"), 1u) << lines;
    EXPECT_EQ(occurrences(lines, "closed 1001"), 15u) << lines;
}

// An attacker that keeps sixteen handshakes waiting, each begun again when
// cut short, keeps a friend out for no time worth telling.
TEST_F(ListenersTest, SlowHandshakesLeaveRoomForAFriend) {
    const std::string base = "ws://127.0.0.1:" + std::to_string(notificationPortsBound(*center).xsOverlayWebSocket);
    const nlohmann::json plan = {
        {{"uri", base + "/"}, {"slow", 16}, {"hold", 1}},
        {{"uri", base + "/?client=Friend"}, {"messages", {vencordMessage("friend")}}, {"retry", 10}},
    };
    const auto [lines, received] = sendOverWebSocket(*center, plan);
    EXPECT_EQ(titles(received), std::vector<std::string>{"friend|hi"});
    EXPECT_LT(friendWaited(lines), 2);
    EXPECT_NE(output.text().find("the oldest handshake cut short for a newcomer"), std::string::npos);
}

}  // namespace
