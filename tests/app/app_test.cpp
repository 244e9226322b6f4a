// The program's own rules: the launch options and when the watch is redrawn.
#include <gtest/gtest.h>
#include <tuple>

#include "app/command_line.h"
#include "app/redraw_rule.h"
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

// "--offline" runs without VR ("--wait" is the waiting program sessions');
// "--help" and "--version" ask for their text instead of a run, help before
// version. Only the exact options count; each lookalike is one log line.
TEST(CommandLineTest, OnlyTheExactOptionsAreTakenAndLookalikesAreLoggedOneLineEach) {
    loggingEnabled = true;
    DebugOutputCapture output;
    Settings settings;
    EXPECT_EQ(applyLaunchTokens({"--offline", "--offline"}, settings), LaunchAction::Run);
    EXPECT_TRUE(settings.offline);
    EXPECT_FALSE(settings.waitForRuntime);
    EXPECT_EQ(applyLaunchTokens({"--version", "--help"}, settings), LaunchAction::ShowHelp);
    EXPECT_EQ(applyLaunchTokens({"--offline", "--version"}, settings), LaunchAction::ShowVersion);
    EXPECT_EQ(output.text(), "");
    const Tokens lookalikes = {"--Offline", "-offline", "--offline=1", "\"--offline\"", "%s",
                               "--Wait",    "-h",       "--help=1",    "-V",              "--version2"};
    Settings online;
    EXPECT_EQ(applyLaunchTokens(lookalikes, online), LaunchAction::Run);
    loggingEnabled = false;
    EXPECT_FALSE(online.offline || online.waitForRuntime);
    for (const std::string& token : lookalikes)
        EXPECT_NE(output.text().find("] Invalid launch parameter: " + token + "\n"), std::string::npos) << token;
    EXPECT_EQ(std::count(output.text().begin(), output.text().end(), '\n'), 10);
}

// A new second redraws only while the watch can be seen; a requested redraw
// happens anyway. Only the seconds count.
TEST(RedrawRuleTest, WhenTheWatchIsRedrawn) {
    // requested, seen, now (minute, second), last drawn second, redraw;
    // a request waits while nobody can see the watch
    const std::tuple<bool, bool, int, int, int, bool> cases[] = {
        {false, false, 0, 1, 0, false}, {false, true, 0, 1, 0, true},   {false, true, 0, 0, 0, false},
        {false, true, 0, 0, 59, true},  {false, true, 0, 59, 59, false}, {true, true, 0, 5, 5, true},
        {true, false, 0, 5, 5, false},  {false, true, 1, 5, 5, false}};
    for (const auto& [requested, seen, minute, second, lastSecond, redraw] : cases) {
        Settings settings;
        settings.needsRedraw = requested;
        std::tm now{}, last{};
        now.tm_min = minute, now.tm_sec = second, last.tm_sec = lastSecond;
        EXPECT_EQ(shouldRedraw(settings, seen, now, last), redraw)
            << requested << seen << " " << minute << ":" << second << " after " << lastSecond;
    }
}

}  // namespace
