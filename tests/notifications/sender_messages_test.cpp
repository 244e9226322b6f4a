// What senders send, read into notifications: the real senders' shapes, and
// every kind of bad input getting nothing but a reason.
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>

#include "notifications/plain_text.h"
#include "notifications/sender_messages.h"
#include "support/test_files.h"

namespace {

// A notification with the icon it names read; the reason when it lost it.
std::pair<std::optional<Notification>, std::string> withIconRead(ReadNotification read) {
    std::string why;
    if (read.notification) why = readNotificationIcon(*read.notification);
    return {read.notification, why};
}

const std::uint8_t red[] = {255, 0, 0, 255};

// XSOverlay's default 0.5 s is too short to read; 5000 means milliseconds.
TEST(SenderMessagesTest, TimeoutsAreClampedAndLargeOnesAreMilliseconds) {
    const std::pair<const char*, float> cases[] = {
        {"", 1}, {R"(,"timeout":7.5)", 7.5f}, {R"(,"timeout":1000)", 30}, {R"(,"timeout":5000)", 5},
    };
    for (const auto& [field, seconds] : cases) {
        const auto notification = readXsOverlayDatagram(std::string(R"({"messageType":1,"title":"t")") + field + "}").notification;
        ASSERT_TRUE(notification) << field;
        EXPECT_EQ(notification->timeoutSeconds, seconds) << field;
    }
}

// Each is refused with a reason, and nothing else happens.
TEST(SenderMessagesTest, BadDatagramsAreRefusedWithAReason) {
    const std::string cases[] = {
        R"({"messageType":1,"title":"cut sh)",
        R"([1,2,3])",
        R"({"messageType":2,"title":"media"})",
        R"({"title":"no type"})",
        R"({"messageType":"1","title":"a"})",
        R"({"messageType":1,"title":5})",
        R"({"messageType":1,"title":"a","useBase64Icon":"yes"})",
        R"({"messageType":1,"title":"","content":"<b></b>"})",
        R"({"messageType":1,"title":"a","x":[[[[[[[[1]]]]]]]]})",
    };
    for (const std::string& datagram : cases) {
        const ReadNotification read = readXsOverlayDatagram(datagram);
        EXPECT_FALSE(read.notification) << datagram.substr(0, 80);
        EXPECT_EQ(read.why.rfind("message refused: ", 0), 0u) << datagram.substr(0, 80);
    }
}

// Invalid UTF-8 and lone surrogates show as U+FFFD instead of losing the
// message; controls and bidirectional overrides are dropped.
TEST(SenderMessagesTest, BrokenTextShowsReplacementCharacters) {
    const auto notification = readXsOverlayDatagram(
        "{\"messageType\":1,\"title\":\"a\xff\xc0\x80z\",\"content\":\"x\\ud800y\\udc00\\u0007\\u202ez\\u2066\"}").notification;
    ASSERT_TRUE(notification);
    EXPECT_EQ(notification->title, "a\uFFFD\uFFFD\uFFFDz");
    EXPECT_EQ(notification->content, "x\uFFFDy\uFFFDz");
}

TEST(SenderMessagesTest, TitlesAndContentsAreCutWithAnEllipsis) {
    const auto notification = readXsOverlayDatagram(R"({"messageType":1,"title":")" + std::string(300, 'T') +
                                                    R"(","content":")" + std::string(1500, '\xe2') + "\"}").notification;
    ASSERT_TRUE(notification);
    EXPECT_EQ(notification->title, std::string(127, 'T') + "\u2026");
    // 1500 invalid bytes are 1500 replacement characters, cut to 1000.
    std::string expected;
    for (int i = 0; i < 999; ++i) expected += "\uFFFD";
    EXPECT_EQ(notification->content, expected + "\u2026");
}

TEST(SenderMessagesTest, UnityRichTextAndBodyMarkupAreStripped) {
    EXPECT_EQ(plainTextFromMarkup("<b>Alice</b> <color=#7289da>says</color> <size=5000>hi</size><br>x", 100),
              "Alice says hi\nx");
    EXPECT_EQ(plainTextFromMarkup("<i>a</i> &lt;3 &amp; &#8364;&#x41; <a href=\"x\">link</a> 1 < 2 &bogus;", 100),
              "a <3 & \u20ACA link 1 < 2 &bogus;");
    EXPECT_EQ(plainTextFromMarkup("&#0;&#xD800;&#99999999;", 100), "\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(plainTextFromMarkup("tab\there<" + std::string(300, 'x') + ">", 20), "tab here<xxxxxxxxxx\u2026");
    // Only the first 64 KiB of a text are looked at.
    EXPECT_EQ(plainText(std::string(100000, 'a'), 100000), std::string(65536, 'a') + "\u2026");
}

// A bad icon loses the icon, not the message, and says why (which images
// are refused is NotificationIconTest's); keywords name no file. Files are
// read only for the UDP source, and only regular ones.
TEST(SenderMessagesTest, IconsAreReadOrLeftOutWithAReason) {
    TemporaryDirectory folder;
    const std::string png = folder.path() + "/icon.png", fifo = folder.path() + "/fifo",
                      big = folder.path() + "/big.png";
    writeFile(png, pngOfColour(2, 2, 4, red));
    writeFile(big, pngOfColour(2, 2, 4, red) + std::string(3 * 1024 * 1024, '\0'));
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string base64 = R"(","useBase64Icon":true,"icon":")", file = R"(","icon":")";
    const struct {
        std::string fields;
        bool shown;
        std::string leftOut;  // why, when it says
    } icons[] = {
        {base64 + base64Of(pngOfColour(2, 2, 4, red)), true, ""},
        {base64 + "not base64!", false, "not base64 of at most 256 KiB"},
        {base64 + base64Of(std::string(300 * 1024, 'x')), false, "not base64 of at most 256 KiB"},
        {base64 + base64Of("GIF89a" + std::string(40, '\0')), false, "not a PNG or JPEG"},
        {file + png, true, ""},
        {file + fifo, false, "not a regular file"},
        {file + big, false, "larger than 2 MiB"},
        {file + "relative.png", false, "not an absolute path"},
        {file + folder.path() + "/missing", false, "No such file"},
        {file + png + "\\u0000.txt", false, "a path with a NUL character"},
        {file + "default", false, ""},
    };
    for (const auto& [fields, shown, leftOut] : icons) {
        const auto [notification, why] = withIconRead(readXsOverlayDatagram(R"({"messageType":1,"title":"a)" + fields + "\"}"));
        ASSERT_TRUE(notification) << fields;
        EXPECT_EQ(notification->icon.rgba.size(), shown ? 2u * 2 * 4 : 0u) << fields;
        EXPECT_EQ(why.rfind("icon left out: " + leftOut, 0) == 0, !leftOut.empty()) << fields << ": " << why;
    }
    const std::string envelope = R"({"target":"xsoverlay","command":"SendNotification","jsonData":"{\"title\":\"a\",\"icon\":\")" +
                                 png + R"(\"}"})";
    const auto [fromWebSocket, lost] = withIconRead(readXsOverlayWebSocketMessage(envelope, "Page"));
    ASSERT_TRUE(fromWebSocket);
    EXPECT_TRUE(fromWebSocket->icon.rgba.empty());
    EXPECT_EQ(lost, "icon left out: icon files are taken only from UDP datagrams");
}

// The sourceApp names the sender; the client's name stands in only for a
// missing one (ListenersTest sends such).
TEST(SenderMessagesTest, XsOverlayWebSocketEnvelopes) {
    const std::string named = R"({"command":"SendNotification","jsonData":"{\"title\":\"t\",\"sourceApp\":\"Vencord\"}"})";
    EXPECT_EQ(readXsOverlayWebSocketMessage(named, "Client").notification.value().sourceName, "Vencord");
    // Other commands and targets pass without a word.
    for (const char* other : {R"({"target":"xsoverlay","command":"SubscribeToEvents","jsonData":"[]"})",
                              R"({"target":"other","command":"SendNotification","jsonData":"{}"})"}) {
        const ReadNotification read = readXsOverlayWebSocketMessage(other, "c");
        EXPECT_TRUE(!read.notification && read.why.empty()) << other;
    }
    for (const char* bad : {"{", R"({"command":5})", R"({"command":"SendNotification","jsonData":{"title":"t"}})",
                            R"({"command":"SendNotification","jsonData":"{\"type\":2,\"title\":\"t\"}"})",
                            R"({"command":"SendNotification","jsonData":"no"})"}) {
        const ReadNotification read = readXsOverlayWebSocketMessage(bad, "c");
        EXPECT_TRUE(!read.notification && !read.why.empty()) << bad;
    }
}

// SendNotification with its title, body and icon is ListenersTest's.
TEST(SenderMessagesTest, OvrToolkitMessages) {
    const auto wrist = readOvrToolkitMessage(R"({"messageType":"SendWristNotification","json":"{\"body\":\"Joined\"}"})").notification;
    ASSERT_TRUE(wrist);
    EXPECT_EQ(wrist->title, "");
    EXPECT_EQ(wrist->content, "Joined");
    const ReadNotification keepAlive = readOvrToolkitMessage(R"({"messageType":"KeepAlive","json":""})");
    EXPECT_TRUE(!keepAlive.notification && keepAlive.why.empty());
    for (const char* bad : {"[]", R"({"messageType":1})", R"({"messageType":"SendNotification","json":"{\"body\":7}"})",
                            R"({"messageType":"SendNotification","json":"[1]"})",
                            R"({"messageType":"SendWristNotification","json":"{}"})"}) {
        const ReadNotification read = readOvrToolkitMessage(bad);
        EXPECT_TRUE(!read.notification && !read.why.empty()) << bad;
    }
}

}  // namespace
