#include <gtest/gtest.h>

#include "vr/simulated/scenario.h"

namespace {

using Kind = ScenarioAction::Kind;

Scenario parsed(const std::string& text) {
    Scenario scenario;
    std::string error;
    EXPECT_TRUE(parseScenario(text, scenario, error)) << error;
    return scenario;
}

TEST(VrScenarioTest, ReadsEveryActionWithItsPassOrTime) {
    const Scenario scenario = parsed(
        "# a session\n"
        "\n"
        "1 controller 3 on left\r\n"
        "  2\tcontroller 63 role right   # trailing comment\n"
        "2.5s controller 3 off\n"
        "3 dashboard open\n"
        "4 dashboard close\n"
        "5 mouse move 0.5 0.25\n"
        "6 mouse down middle\n"
        "7 mouse up 8\n"
        "8 mouse scroll -1 2\n"
        "9 mouse smoothscroll 0.5 -0.5\n"
        "0s quit\n"
        "10 controller 4 on none\n"
        "11 mouse click  right\thand ");
    const std::vector<ScenarioAction>& actions = scenario.actions;
    ASSERT_EQ(actions.size(), 13u);

    EXPECT_EQ(actions[0].kind, Kind::ControllerOn);
    EXPECT_EQ(actions[0].pass, 1u);
    EXPECT_FALSE(actions[0].keyedToTime);
    EXPECT_EQ(actions[0].device, 3u);
    EXPECT_EQ(actions[0].role, TrackedControllerRole_LeftHand);

    EXPECT_EQ(actions[1].kind, Kind::ControllerRole);
    EXPECT_EQ(actions[1].device, 63u);
    EXPECT_EQ(actions[1].role, TrackedControllerRole_RightHand);

    EXPECT_EQ(actions[2].kind, Kind::ControllerOff);
    EXPECT_TRUE(actions[2].keyedToTime);
    EXPECT_DOUBLE_EQ(actions[2].seconds, 2.5);

    EXPECT_EQ(actions[3].kind, Kind::DashboardOpen);
    EXPECT_EQ(actions[4].kind, Kind::DashboardClose);

    EXPECT_EQ(actions[5].kind, Kind::MouseMove);
    EXPECT_FLOAT_EQ(actions[5].x, 0.5f);
    EXPECT_FLOAT_EQ(actions[5].y, 0.25f);

    EXPECT_EQ(actions[6].kind, Kind::MouseDown);
    EXPECT_EQ(actions[6].button, static_cast<std::uint32_t>(VRMouseButton_Middle));
    EXPECT_EQ(actions[7].kind, Kind::MouseUp);
    EXPECT_EQ(actions[7].button, 8u);

    EXPECT_EQ(actions[8].kind, Kind::MouseScroll);
    EXPECT_FLOAT_EQ(actions[8].x, -1.0f);
    EXPECT_FLOAT_EQ(actions[8].y, 2.0f);
    EXPECT_EQ(actions[9].kind, Kind::MouseSmoothScroll);

    EXPECT_EQ(actions[10].kind, Kind::Quit);
    EXPECT_TRUE(actions[10].keyedToTime);
    EXPECT_DOUBLE_EQ(actions[10].seconds, 0.0);

    EXPECT_EQ(actions[11].role, TrackedControllerRole_Invalid);

    EXPECT_EQ(actions[12].kind, Kind::MouseClick);
    EXPECT_EQ(actions[12].label, "right hand");
}

TEST(VrScenarioTest, AFaultyLineIsNamedAndNothingIsKept) {
    const char* faulty[] = {
        "0 quit",                            // passes count from 1
        "-1s quit",
        "nans quit",
        "infs quit",
        "0x10 quit",
        "1 quit now",
        "1 jump",
        "1",
        "1 controller 0 on left",            // 0 is the headset
        "1 controller 64 on left",
        "1 controller 3 on",
        "1 controller 3 on elbow",
        "1 controller 3 off left",
        "1 controller x off",
        "1 dashboard ajar",
        "1 mouse move 0.5",
        "1 mouse move nan 0.5",
        "1 mouse move 1e40 0",
        "1 mouse down thumb",
        "1 mouse down 4294967296",
        "1 mouse wiggle 1 1",
        "1 mouse click",
        "1 mouse click # Next",
        "99999999999999999999 quit",
    };
    for (const char* line : faulty) {
        Scenario scenario;
        std::string error;
        EXPECT_FALSE(parseScenario(std::string("1 quit\n\n") + line, scenario, error)) << line;
        EXPECT_EQ(error.rfind("line 3: ", 0), 0u) << error;
        EXPECT_TRUE(scenario.actions.empty());
    }
}

TEST(VrScenarioTest, ArbitraryBytesAreRefusedOrReadButNeverCrash) {
    std::string bytes;
    for (int i = 0; i < 4096; ++i) bytes += static_cast<char>((i * 7919) % 256);
    Scenario scenario;
    std::string error;
    EXPECT_FALSE(parseScenario(bytes, scenario, error));
    EXPECT_LT(error.size(), 120u);
}

}  // namespace
