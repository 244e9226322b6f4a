#include <gtest/gtest.h>

#include "app/command_line.h"
#include "config/settings.h"
#include "platform/log.h"
#include "support/debug_output_capture.h"

namespace {

using Tokens = std::vector<std::string>;

TEST(CommandLineTest, TokensAreRunsOfNonWhiteSpace) {
    EXPECT_EQ(splitLaunchTokens(""), Tokens{});
    EXPECT_EQ(splitLaunchTokens(" \t\n "), Tokens{});
    EXPECT_EQ(splitLaunchTokens("\t--offline   foo \v"), (Tokens{"--offline", "foo"}));
    EXPECT_EQ(splitLaunchTokens("\"--offline\" a\\ b"), (Tokens{"\"--offline\"", "a\\", "b"}));
}

class LaunchTokenTest : public ::testing::Test {
protected:
    void SetUp() override { loggingEnabled = true; }
    void TearDown() override { loggingEnabled = false; }
    DebugOutputCapture output;
    Settings settings;
};

TEST_F(LaunchTokenTest, OfflineOptionSetsOfflineModeSilently) {
    applyLaunchTokens({"--offline", "--offline"}, settings);
    EXPECT_TRUE(settings.offline);
    EXPECT_EQ(output.text(), "");
}

TEST_F(LaunchTokenTest, LookalikesAreLoggedOneLineEachAndIgnored) {
    const Tokens lookalikes = {"--Offline", "-offline", "--offline=1", "\"--offline\"", "%s"};
    applyLaunchTokens(lookalikes, settings);
    EXPECT_FALSE(settings.offline);
    for (const std::string& token : lookalikes)
        EXPECT_NE(output.text().find("] Invalid launch parameter: " + token + "\n"),
                  std::string::npos)
            << token;
    EXPECT_EQ(std::count(output.text().begin(), output.text().end(), '\n'), 5);
}

}  // namespace
