// The watch's placement on either wrist; the program's sessions place it on
// the controllers (tests/program/vr_program_test.cpp).
#include <gtest/gtest.h>
#include <cmath>

#include "vr/watch_placement.h"

namespace {

// The right hand tilts by 120 degrees and sits outwards; the left tilts by 135
// and is mirrored. The user's fit tilts both dials the same way about the
// controller's x axis and moves both back along it.
TEST(VrWatchPlacementTest, EachHandHasItsTiltAndSideAndTheFitMovesBothAlike) {
    const float right[3][4] = {{0, 0, 1, 0.025f}, {0.8660254f, -0.5f, 0, 0.07f}, {0.5f, 0.8660254f, 0, 0.18f}};
    const float left[3][4] = {{0, 0, -1, -0.025f}, {-0.7071068f, -0.7071068f, 0, 0.07f},
                              {-0.7071068f, 0.7071068f, 0, 0.18f}};
    for (bool rightHand : {true, false}) {
        for (int row = 0; row < 3; ++row)
            for (int column = 0; column < 4; ++column)
                EXPECT_NEAR(watchPlacement(rightHand).m[row][column], (rightHand ? right : left)[row][column], 1e-6)
                    << rightHand << " row " << row << ", column " << column;
        const HmdMatrix34_t fitted = watchPlacement(rightHand, {6, 5, 30});
        const double tilt = (rightHand ? 150 : 165) * M_PI / 180;
        EXPECT_NEAR(fitted.m[1][0], (rightHand ? 1 : -1) * std::sin(tilt), 1e-6) << rightHand;
        EXPECT_NEAR(fitted.m[1][1], std::cos(tilt), 1e-6) << rightHand;
        EXPECT_NEAR(fitted.m[0][3], right[0][3] * (rightHand ? 1 : -1), 1e-6) << rightHand;
        EXPECT_NEAR(fitted.m[2][3], 0.23, 1e-6) << rightHand;
    }
}

}  // namespace
