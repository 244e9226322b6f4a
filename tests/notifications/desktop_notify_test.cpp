// Reading Notify calls: recorded from notify-send, gdbus and dbus-send (the
// seed corpus of the fuzz target), and made here for the cases no tool sends.
#include <array>
#include <functional>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

#include "notifications/desktop_notify.h"
#include "received_dbus_message.h"
#include "support/test_files.h"

namespace {

ReadNotification readRecorded(const std::string& name) {
    const std::string bytes = readWholeFile(std::string(HORLOX_NOTIFICATION_TESTS) + "/../../fuzz/corpus/desktop_notify/" + name);
    sd_bus_message* message = receiveDbusMessage(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    EXPECT_TRUE(message) << name;
    if (!message) return {};
    ReadNotification read = readDesktopNotify(message);
    sd_bus_message_unref(message);
    return read;
}

TEST(DesktopNotifyTest, RecordedNotifyCalls) {
    const auto app = readRecorded("notify_send_app_markup").notification;
    ASSERT_TRUE(app);
    EXPECT_EQ(app->source, NotificationSource::Desktop);
    EXPECT_EQ(app->sourceName, "Test App");
    EXPECT_EQ(app->title, "Hello");
    EXPECT_EQ(app->content, "Body bold & more");
    EXPECT_EQ(app->urgency, NotificationUrgency::Normal);
    const auto critical = readRecorded("notify_send_critical_utf8").notification;
    ASSERT_TRUE(critical);
    EXPECT_EQ(critical->urgency, NotificationUrgency::Critical);
    EXPECT_EQ(critical->timeoutSeconds, 3);
    EXPECT_EQ(critical->content, "\u00DCn\u00EFcode \u2713 body");
    const auto image = readRecorded("gdbus_image_data").notification;
    ASSERT_TRUE(image);
    EXPECT_EQ(image->urgency, NotificationUrgency::Low);
    ASSERT_EQ(image->icon.width, 2);
    EXPECT_EQ(image->icon.rgba, (std::vector<std::uint8_t>{255, 0, 0, 255, 255, 0, 0, 255, 0, 0, 0, 0, 0, 0, 0, 0}));
    // Transient ones pass unseen, whether the hint is a boolean or a number.
    for (const char* name : {"notify_send_transient_bool", "notify_send_transient_int"}) {
        const ReadNotification transient = readRecorded(name);
        EXPECT_TRUE(!transient.notification && transient.why.empty()) << name;
    }
    const ReadNotification wrong = readRecorded("dbus_send_wrong_signature");
    EXPECT_FALSE(wrong.notification);
    EXPECT_EQ(wrong.why, "refused: arguments 'susss', not susssasa{sv}i");
}

// A Notify call made with sd-bus itself, from a connection that needs no bus,
// with the hints that 'hints' appends; what reading it gives.
ReadNotification readMadeCall(std::int32_t timeout, const std::function<void(sd_bus_message*)>& hints = {}) {
    int pair[2];
    socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair);
    sd_bus* bus = nullptr;
    sd_bus_new(&bus);
    sd_bus_set_fd(bus, pair[0], pair[0]);
    sd_bus_start(bus);
    close(pair[1]);
    sd_bus_message* message = nullptr;
    sd_bus_message_new_method_call(bus, &message, "org.freedesktop.Notifications", "/org/freedesktop/Notifications",
                                   "org.freedesktop.Notifications", "Notify");
    sd_bus_message_append(message, "susssas", "App", 0u, "dialog-information", "Summary", "Body", 0);
    sd_bus_message_open_container(message, 'a', "{sv}");
    if (hints) hints(message);
    sd_bus_message_close_container(message);
    sd_bus_message_append(message, "i", timeout);
    sd_bus_message_seal(message, 1, 0);
    ReadNotification read = readDesktopNotify(message);
    sd_bus_message_unref(message);
    sd_bus_close_unref(bus);
    return read;
}

// An image-data hint: width, height, rowstride, alpha, bits and channels, and
// so many bytes of pixels.
void appendImage(sd_bus_message* message, const std::array<int, 6>& header, std::size_t bytes) {
    const std::vector<std::uint8_t> data(bytes, 7);
    sd_bus_message_open_container(message, 'e', "sv");
    sd_bus_message_append(message, "s", "image-data");
    sd_bus_message_open_container(message, 'v', "(iiibiiay)");
    sd_bus_message_open_container(message, 'r', "iiibiiay");
    sd_bus_message_append(message, "iiibii", header[0], header[1], header[2], header[3], header[4], header[5]);
    sd_bus_message_append_array(message, 'y', data.data(), data.size());
    for (int i = 0; i < 3; ++i) sd_bus_message_close_container(message);
}

TEST(DesktopNotifyTest, TimeoutsInMilliseconds) {
    const std::pair<std::int32_t, float> cases[] = {
        {-1, defaultTimeoutSeconds}, {0, maxTimeoutSeconds}, {200, 1}, {3600000, 30}};
    for (const auto& [milliseconds, seconds] : cases) {
        const auto notification = readMadeCall(milliseconds).notification;
        ASSERT_TRUE(notification) << milliseconds;
        EXPECT_EQ(notification->timeoutSeconds, seconds) << milliseconds;
    }
}

// Pixel buffers that do not add up lose the icon, saying why; hints of
// other types are passed over.
TEST(DesktopNotifyTest, ImageDataIsChecked) {
    const auto good = readMadeCall(-1, [](sd_bus_message* m) { appendImage(m, {3, 2, 12, 0, 8, 3}, 12 + 9); });
    ASSERT_TRUE(good.notification);
    EXPECT_EQ(good.notification->icon.width, 3);
    EXPECT_EQ(good.notification->icon.rgba.size(), 3u * 2 * 4);
    EXPECT_EQ(good.notification->icon.rgba[3], 255);
    const std::pair<std::array<int, 6>, std::size_t> bad[] = {
        {{3, 2, 12, 0, 8, 3}, 20},       {{2, 2, 8, 1, 16, 4}, 64}, {{2, 2, 8, 1, 8, 3}, 64},
        {{513, 1, 2052, 1, 8, 4}, 2052}, {{2, 2, 4, 1, 8, 4}, 64},  {{0, 2, 8, 1, 8, 4}, 64}};
    for (const auto& [header, bytes] : bad) {
        const ReadNotification read = readMadeCall(-1, [&](sd_bus_message* m) { appendImage(m, header, bytes); });
        ASSERT_TRUE(read.notification) << header[0];
        EXPECT_TRUE(read.notification->icon.rgba.empty()) << header[0];
        EXPECT_EQ(read.why.rfind("image left out: ", 0), 0u) << header[0];
    }
    const auto otherTypes = readMadeCall(-1, [](sd_bus_message* m) {
        sd_bus_message_append(m, "{sv}", "urgency", "s", "critical");
        sd_bus_message_append(m, "{sv}", "transient", "s", "yes");
        sd_bus_message_append(m, "{sv}", "image-data", "i", 5);
    });
    ASSERT_TRUE(otherTypes.notification);
    EXPECT_EQ(otherTypes.notification->urgency, NotificationUrgency::NotGiven);
}

}  // namespace
