#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "platform/log.h"
#include "support/debug_output_capture.h"

namespace {

// Logging is on for each test and off again afterwards, as the program has it
// on from its first step.
class LogTest : public ::testing::Test {
protected:
    void SetUp() override { loggingEnabled = true; }
    void TearDown() override { loggingEnabled = false; }
    DebugOutputCapture output;
};

const std::string stampPattern = R"(\[\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}\] )";

TEST_F(LogTest, LineIsTimestampThenMessageThenOneLineFeed) {
    logMessage("GL_VERSION: %s", "4.6.0");
    EXPECT_TRUE(std::regex_match(output.text(), std::regex(stampPattern + "GL_VERSION: 4\\.6\\.0\n")))
        << output.text();
}

TEST_F(LogTest, CallersOwnLineBreakIsKeptAndNoOtherAdded) {
    logMessage("ends with a break\n \t");
    logMessage("ends with blanks \t");
    const char* empty = "";
    logMessage(empty);
    EXPECT_TRUE(std::regex_match(output.text(),
                                 std::regex(stampPattern + "ends with a break\n \t" +
                                            stampPattern + "ends with blanks \t\n" +
                                            stampPattern + "\n")))
        << output.text();
}

TEST_F(LogTest, PercentSignsKeepTheirMeaningOnlyInTheFormat) {
    logMessage("%d%% of %s", 50, "100% sure");
    EXPECT_NE(output.text().find("] 50% of 100% sure\n"), std::string::npos) << output.text();
}

TEST_F(LogTest, LongLinesAreCutTo1023CharactersLosingTheirLineBreak) {
    const std::string longText(2000, 'x');
    logMessage("%s", longText.c_str());
    ASSERT_EQ(output.text().size(), 1023u);
    EXPECT_EQ(output.text().back(), 'x');
}

TEST_F(LogTest, NothingIsWrittenWhileLoggingIsOff) {
    loggingEnabled = false;
    logMessage("dropped");
    EXPECT_EQ(output.text(), "");
}

TEST_F(LogTest, TimestampIsTheLocalTimeOfTheCall) {
    std::time_t before = std::time(nullptr);
    logMessage("now");
    std::time_t after = std::time(nullptr);
    auto stamp = [](std::time_t t) {
        std::tm local{};
        localtime_r(&t, &local);
        char text[32];
        std::strftime(text, sizeof text, "[%Y-%m-%d %H:%M:%S] ", &local);
        return std::string(text);
    };
    const std::string written = output.text().substr(0, 22);
    EXPECT_TRUE(written == stamp(before) || written == stamp(after)) << written;
}

}  // namespace
