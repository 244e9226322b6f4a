// The program's own rules: the launch options, when the watch is redrawn and
// how long the main loop waits: for the nearest thing due, and never long
// while something moves or the menu is in use.
#include <gtest/gtest.h>
#include <tuple>

#include "app/command_line.h"
#include "app/redraw_rule.h"
#include "app/wait_rule.h"
#include "config/settings.h"
#include "platform/log.h"
#include "support/debug_output_capture.h"

namespace {

using namespace std::chrono_literals;
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

TEST(WaitRuleTest, TheLoopWaitsForTheNearestThingDue) {
    const LoopClock::time_point now{};
    const auto in = [now](LoopClock::duration after) { return std::optional<LoopClock::time_point>(now + after); };
    LoopState offline;
    offline.offline = true;
    LoopState vr;
    const auto with = [](LoopState state, auto change) {
        change(state);
        return state;
    };
    const std::tuple<const char*, LoopState, LoopClock::duration> cases[] = {
        {"offline: the next second", with(offline, [&](LoopState& s) { s.nextSecond = in(730ms); }), 730ms},
        {"offline: a toast's end comes first",
         with(offline, [&](LoopState& s) { s.nextSecond = in(730ms), s.nextToastChange = in(200ms); }), 200ms},
        {"offline: a fading toast steps", with(offline, [&](LoopState& s) { s.toastFading = true, s.nextSecond = in(900ms); }),
         movingStep},
        {"a second already due", with(offline, [&](LoopState& s) { s.nextSecond = in(-5ms); }), 0ms},
        {"VR: the runtime is polled", with(vr, [&](LoopState& s) { s.nextSecond = in(900ms); }), runtimePollPeriod},
        {"VR: a battery reading first", with(vr, [&](LoopState& s) { s.nextBatteryReading = in(40ms); }), 40ms},
        {"VR: waiting for a glance", with(vr, [&](LoopState& s) { s.watchingForGlance = true; }), glancePollPeriod},
        {"VR: a glance fading", with(vr, [&](LoopState& s) { s.watchingForGlance = s.glanceFading = true; }), movingStep},
        {"VR: an open menu untouched", with(vr, [&](LoopState& s) { s.menuShown = true; }), runtimePollPeriod},
        {"VR: an open menu just used",
         with(vr, [&](LoopState& s) { s.menuShown = true, s.lastMenuInput = in(-100ms); }), movingStep},
        {"VR: an open menu used a while ago",
         with(vr, [&](LoopState& s) { s.menuShown = true, s.lastMenuInput = in(-2s); }), runtimePollPeriod},
        {"OpenXR paces the loop itself",
         with(vr, [&](LoopState& s) { s.runtimePaces = true, s.nextSecond = in(500ms); }), 0ms},
    };
    for (const auto& [what, state, wait] : cases) EXPECT_EQ(loopWait(state, now), wait) << what;
    EXPECT_EQ(loopWait(offline, now), LoopClock::duration::max()) << "offline with nothing due: the window wakes it";
}

}  // namespace
