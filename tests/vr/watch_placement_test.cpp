#include <gtest/gtest.h>

#include "vr/watch_placement.h"

namespace {

// The right hand tilts by 120 degrees and sits outwards; the left tilts by 135
// and is mirrored.
TEST(VrWatchPlacementTest, EachHandHasItsTiltAndSide) {
    const float right[3][4] = {{0, 0, 1, 0.025f}, {0.8660254f, -0.5f, 0, 0.07f}, {0.5f, 0.8660254f, 0, 0.18f}};
    const float left[3][4] = {{0, 0, -1, -0.025f},
                              {-0.7071068f, -0.7071068f, 0, 0.07f},
                              {-0.7071068f, 0.7071068f, 0, 0.18f}};
    for (bool rightHand : {true, false})
        for (int row = 0; row < 3; ++row)
            for (int column = 0; column < 4; ++column)
                EXPECT_NEAR(watchPlacement(rightHand).m[row][column], (rightHand ? right : left)[row][column], 1e-6)
                    << rightHand << " row " << row << ", column " << column;
}

}  // namespace
