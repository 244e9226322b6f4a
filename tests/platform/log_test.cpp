#include <gtest/gtest.h>
#include <regex>
#include <string>

#include "platform/log.h"
#include "support/debug_output_capture.h"

namespace {

// A line is the time stamp, the message and one line feed; percent signs keep
// their meaning only in the format; nothing is written while logging is off.
TEST(LogTest, LineIsTimestampThenMessageThenOneLineFeed) {
    const LogCapture output;
    const std::string stamp = R"(\[\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}\] )";
    logMessage("GL_VERSION: %s", "4.6.0");
    const char* empty = "";
    logMessage(empty);
    logMessage("%d%% of %s", 50, "100% sure");
    loggingEnabled = false;
    logMessage("dropped");
    EXPECT_TRUE(std::regex_match(output.text(), std::regex(stamp + "GL_VERSION: 4\\.6\\.0\n" + stamp + "\n" + stamp +
                                                           "50% of 100% sure\n")))
        << output.text();
}

TEST(LogTest, LongLinesAreCutTo1023CharactersLosingTheirLineBreak) {
    const LogCapture output;
    logMessage("%s", std::string(2000, 'x').c_str());
    EXPECT_EQ(output.text(), "[" + output.text().substr(1, 20) + " " + std::string(1001, 'x'));
}

}  // namespace
