// horlox-watch on batteries and zones: check's findings, render's arguments.
#include <gtest/gtest.h>

#include "horlox_watch/battery_argument.h"
#include "horlox_watch/config_lint.h"
#include "horlox_watch/render_time.h"

namespace {

std::vector<std::string> lint(const std::string& config) {
    std::vector<std::string> lines;
    for (const Finding& finding :
         lintConfig(parseConfig(config.data(), config.data() + config.size())))
        lines.push_back(formatFinding("w", finding));
    return lines;
}

TEST(ShownDataCheck, NamesUnknownDevicesAndZonesBadArcsAndPointlessKeys) {
    EXPECT_EQ(lint(":watch\nname=A\n"
                   ":hand\nfile=h.png\nbattery=left\narc=150,30\n"
                   ":text\nfontfamily=f.ttf\nzone=Asia/Tokyo\ntext=%H\n"
                   ":hand\nfile=h.png\nbattery=Left\narc=0,400\nzone=Asia/Tokio\n"
                   ":text\nfontfamily=f.ttf\nbattery=hmd\nzone=UTC\ncharging=*\n"
                   ":hand\nfile=h.png\nbind=HOUR\narc=0,90x\n"),
              (std::vector<std::string>{
                  "w/config:11: warning: ':hand' has no 'bind'; the hand stays at twelve",
                  "w/config:13: error: battery 'Left' names no device (left, right or hmd); the "
                  "element shows the time",
                  "w/config:14: error: arc '0,400' is not EMPTY,FULL in degrees, apart by more "
                  "than 0 and at most 360; the hand turns from -90 to 90",
                  "w/config:14: warning: 'arc' is ignored: the hand shows no battery",
                  "w/config:15: error: time zone 'Asia/Tokio' is not in the system's tz "
                  "database; the element shows local time",
                  "w/config:19: warning: 'zone' is ignored: the element shows a battery",
                  "w/config:24: error: arc '0,90x' is not EMPTY,FULL in degrees, apart by more "
                  "than 0 and at most 360; the hand turns from -90 to 90",
                  "w/config:24: warning: 'arc' is ignored: the hand shows no battery"}));
}

TEST(ShownDataRender, BatteryArgumentsNameEachDeviceOnce) {
    std::string error;
    const std::optional<DeviceBatteries> batteries =
        parseBatteryArgument("left=0.8,right=0.15+charging,hmd=absent", error);
    ASSERT_TRUE(batteries) << error;
    EXPECT_EQ(*batteries, (DeviceBatteries{{}, {true, true, 0.8f, false}, {true, true, 0.15f, true}}));
    for (const char* bad : {"", "left", "left=", "left=1.5", "left=-0.1", "left=0.5+charge",
                            "left=0.5,left=0.6", "head=0.5", "left=0.5,", "left=nan", "left=1e0"}) {
        error.clear();
        EXPECT_FALSE(parseBatteryArgument(bad, error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
}

TEST(ShownDataRender, LocalZoneTimesComeOnceOrAreRefusedWhenSkipped) {
    const TimeZone* berlin = findTimeZone("Europe/Berlin");
    ASSERT_TRUE(berlin);
    const std::optional<WatchReadings> summer = readingsAt({2026, 7, 1}, {12, 0, 0}, berlin);
    ASSERT_TRUE(summer);
    EXPECT_EQ(summer->instant, 1782900000);  // 10:00 UTC
    EXPECT_EQ(summer->localTime.tm_hour, 12);
    EXPECT_EQ(summer->localZone, berlin);
    EXPECT_EQ(readingsAt({2026, 10, 25}, {2, 30, 0}, berlin)->instant, 1792888200);  // the first
    EXPECT_FALSE(readingsAt({2026, 3, 29}, {2, 30, 0}, berlin));
}

}  // namespace
