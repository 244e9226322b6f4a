#include <gtest/gtest.h>
#include <tuple>

#include "vr/simulated/scenario.h"

namespace {

using Kind = ScenarioAction::Kind;

// Comments, blank lines, CR LF ends, tabs and runs of blanks are allowed.
TEST(VrScenarioTest, ReadsEveryActionWithItsPassOrTime) {
    Scenario scenario;
    std::string error;
    ASSERT_TRUE(parseScenario("# a session\n\n1 controller 3 on left\r\n  2\tcontroller 63 role right   # note\n"
                              "2.5s controller 3 off\n3 dashboard open\n4 dashboard close\n5 mouse move 0.5 0.25\n"
                              "6 mouse down middle\n7 mouse up 8\n8 mouse scroll -1 2\n9 mouse smoothscroll 0.5 -0.5\n"
                              "0s quit\n10 controller 4 on none\n11 mouse click  right\thand ",
                              scenario, error))
        << error;
    const std::vector<ScenarioAction>& a = scenario.actions;
    ASSERT_EQ(a.size(), 13u);
    const Kind kinds[] = {Kind::ControllerOn,   Kind::ControllerRole, Kind::ControllerOff,     Kind::DashboardOpen,
                          Kind::DashboardClose, Kind::MouseMove,      Kind::MouseDown,         Kind::MouseUp,
                          Kind::MouseScroll,    Kind::MouseSmoothScroll, Kind::Quit,           Kind::ControllerOn,
                          Kind::MouseClick};
    for (std::size_t i = 0; i < a.size(); ++i) EXPECT_EQ(a[i].kind, kinds[i]) << i;
    EXPECT_EQ(std::tie(a[0].pass, a[0].keyedToTime, a[0].device, a[0].role),
              std::make_tuple(std::uint64_t{1}, false, 3u, TrackedControllerRole_LeftHand));
    EXPECT_EQ(std::tie(a[1].device, a[1].role), std::make_tuple(63u, TrackedControllerRole_RightHand));
    EXPECT_EQ(std::tie(a[2].keyedToTime, a[2].seconds, a[10].keyedToTime, a[10].seconds),
              std::make_tuple(true, 2.5, true, 0.0));
    EXPECT_EQ(std::tie(a[5].x, a[5].y, a[8].x, a[8].y), std::make_tuple(0.5f, 0.25f, -1.0f, 2.0f));
    EXPECT_EQ(std::tie(a[6].button, a[7].button), std::make_tuple(std::uint32_t{VRMouseButton_Middle}, 8u));
    EXPECT_EQ(a[11].role, TrackedControllerRole_Invalid);
    EXPECT_EQ(a[12].label, "right hand");
}

TEST(VrScenarioTest, AFaultyLineIsNamedAndNothingIsKept) {
    const char* faulty[] = {
        "0 quit",  // passes count from 1
        "-1s quit", "nans quit", "infs quit", "0x10 quit", "99999999999999999999 quit", "1 quit now", "1 jump", "1",
        "1 controller 0 on left",  // 0 is the headset
        "1 controller 64 on left", "1 controller 3 on", "1 controller 3 on elbow", "1 controller 3 off left",
        "1 controller x off", "1 dashboard ajar", "1 mouse move 0.5", "1 mouse move nan 0.5", "1 mouse move 1e40 0",
        "1 mouse down thumb", "1 mouse down 4294967296", "1 mouse wiggle 1 1", "1 mouse click", "1 mouse click # Next"};
    for (const char* line : faulty) {
        Scenario scenario;
        std::string error;
        EXPECT_FALSE(parseScenario(std::string("1 quit\n\n") + line, scenario, error)) << line;
        EXPECT_EQ(error.rfind("line 3: ", 0), 0u) << error;
        EXPECT_TRUE(scenario.actions.empty());
    }
    // Arbitrary bytes are refused in a line of their own, never a crash.
    std::string bytes, error;
    for (int i = 0; i < 4096; ++i) bytes += static_cast<char>((i * 7919) % 256);
    Scenario scenario;
    EXPECT_FALSE(parseScenario(bytes, scenario, error));
    EXPECT_LT(error.size(), 120u);
}

}  // namespace
