#include <gtest/gtest.h>

#include "vr/watch_placement.h"

namespace {

void expectRows(const HmdMatrix34_t& placement, const float (&expected)[3][4]) {
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 4; ++column)
            EXPECT_NEAR(placement.m[row][column], expected[row][column], 1e-6)
                << "row " << row << ", column " << column;
}

TEST(VrWatchPlacementTest, RightHandTiltsByOneHundredTwentyDegreesAndSitsOutwards) {
    const float right[3][4] = {{0, 0, 1, 0.025f},
                               {0.8660254f, -0.5f, 0, 0.07f},
                               {0.5f, 0.8660254f, 0, 0.18f}};
    expectRows(watchPlacement(true), right);
}

TEST(VrWatchPlacementTest, LeftHandTiltsByOneHundredThirtyFiveDegreesAndIsMirrored) {
    const float left[3][4] = {{0, 0, -1, -0.025f},
                              {-0.7071068f, -0.7071068f, 0, 0.07f},
                              {-0.7071068f, 0.7071068f, 0, 0.18f}};
    expectRows(watchPlacement(false), left);
}

}  // namespace
