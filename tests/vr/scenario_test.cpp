#include <gtest/gtest.h>

#include "vr/simulated/scenario.h"

namespace {

// Every action the VR suites play is read through their scenarios; here the
// lines a person may get wrong, each named by its number.
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
