#include <gtest/gtest.h>
#include <regex>
#include <string>

#include "platform/log.h"
#include "support/debug_output_capture.h"

namespace {

// A line is the time stamp, the message and one line feed, unless the
// caller's own trailing white space holds one; percent signs keep their
// meaning only in the format; nothing is written while logging is off.
TEST(LogTest, LineIsTimestampThenMessageThenOneLineFeed) {
    const LogCapture output;
    const std::string stamp = R"(\[\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}\] )";
    logMessage("GL_VERSION: %s", "4.6.0");
    logMessage("ends with a break\n \t");
    logMessage("ends with blanks \t");
    const char* empty = "";
    logMessage(empty);
    logMessage("%d%% of %s", 50, "100% sure");
    loggingEnabled = false;
    logMessage("dropped");
    EXPECT_TRUE(std::regex_match(output.text(), std::regex(stamp + "GL_VERSION: 4\\.6\\.0\n" + stamp +
                                                           "ends with a break\n \t" + stamp + "ends with blanks \t\n" +
                                                           stamp + "\n" + stamp + "50% of 100% sure\n")))
        << output.text();
}

TEST(LogTest, LongLinesAreCutTo1023CharactersLosingTheirLineBreak) {
    const LogCapture output;
    logMessage("%s", std::string(2000, 'x').c_str());
    EXPECT_EQ(output.text(), "[" + output.text().substr(1, 20) + " " + std::string(1001, 'x'));
}

// In a zone of its own, so that the universal time cannot pass for it.
TEST(LogTest, TimestampIsTheLocalTimeOfTheCall) {
    const LogCapture output;
    const char* zone = std::getenv("TZ");
    const std::string previousZone = zone ? zone : "";
    setenv("TZ", "HLX-5:45", 1);
    tzset();
    const std::time_t before = std::time(nullptr);
    logMessage("now");
    const std::time_t after = std::time(nullptr);
    auto stampOf = [](std::time_t t) {
        char text[32];
        std::strftime(text, sizeof text, "[%Y-%m-%d %H:%M:%S] ", std::localtime(&t));
        return std::string(text);
    };
    const std::string written = output.text().substr(0, 22);
    EXPECT_TRUE(written == stampOf(before) || written == stampOf(after)) << written;
    zone ? setenv("TZ", previousZone.c_str(), 1) : unsetenv("TZ");
    tzset();
}

}  // namespace
