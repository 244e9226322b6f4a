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

TEST(CommandLineTest, OnlyTheExactOptionGoesOfflineAndLookalikesAreLoggedOneLineEach) {
    loggingEnabled = true;
    DebugOutputCapture output;
    Settings settings;
    applyLaunchTokens({"--offline", "--offline"}, settings);
    EXPECT_TRUE(settings.offline);
    EXPECT_EQ(output.text(), "");
    const Tokens lookalikes = {"--Offline", "-offline", "--offline=1", "\"--offline\"", "%s"};
    Settings online;
    applyLaunchTokens(lookalikes, online);
    loggingEnabled = false;
    EXPECT_FALSE(online.offline);
    for (const std::string& token : lookalikes)
        EXPECT_NE(output.text().find("] Invalid launch parameter: " + token + "\n"), std::string::npos) << token;
    EXPECT_EQ(std::count(output.text().begin(), output.text().end(), '\n'), 5);
}

}  // namespace
