// The watch on the wrist: its placement on either hand and the glance against
// poses a person can picture; the glance's share of a pass is the program
// sessions'. A controller at the origin wears its watch 7 cm up and 18 cm
// back, facing out of its left side on the left hand and out of its right
// side on the right hand.
#include <gtest/gtest.h>
#include <cmath>
#include <limits>

#include "vr/watch_glance.h"
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
                EXPECT_NEAR(matrixFromPose(watchPlacement(rightHand)).m[row][column],
                            (rightHand ? right : left)[row][column], 1e-6)
                    << rightHand << " row " << row << ", column " << column;
        const PoseMatrix fitted = matrixFromPose(watchPlacement(rightHand, {6, 5, 30}));
        const double tilt = (rightHand ? 150 : 165) * M_PI / 180;
        EXPECT_NEAR(fitted.m[1][0], (rightHand ? 1 : -1) * std::sin(tilt), 1e-6) << rightHand;
        EXPECT_NEAR(fitted.m[1][1], std::cos(tilt), 1e-6) << rightHand;
        EXPECT_NEAR(fitted.m[0][3], right[0][3] * (rightHand ? 1 : -1), 1e-6) << rightHand;
        EXPECT_NEAR(fitted.m[2][3], 0.23, 1e-6) << rightHand;
    }
}

const float nan = std::numeric_limits<float>::quiet_NaN();
const Pose upright, upsideDown{{0, 0, 1, 0}, {}}, noGeometry{{nan, nan, nan, nan}, {}};

// The eyes 40 cm from the upright controller's watch, that many degrees off
// its face towards +y.
std::optional<Pose> eyes(bool rightHand, float degrees, bool valid = true) {
    if (!valid) return std::nullopt;
    const float outwards = rightHand ? 1 : -1, angle = degrees * 3.14159265f / 180;
    return Pose{{}, {outwards * (0.025f + 0.4f * std::cos(angle)), 0.07f + 0.4f * std::sin(angle), 0.18f}};
}

GlanceState step(const std::optional<Pose>& head, const Pose& hand, bool rightHand, const GlanceState& previous = {},
                 float seconds = 1, bool handValid = true) {
    return followGlance(head, handValid ? std::optional<Pose>(hand) : std::nullopt, watchPlacement(rightHand), previous,
                        seconds);
}

TEST(WatchGlanceTest, PosesGiveTheAlphaForBothHands) {
    for (bool right : {false, true}) {
        const struct {
            const char* what;
            GlanceState settled;
            float alpha;
        } cases[] = {
            {"looked at straight", step(eyes(right, 0), upright, right), 1},
            // The play reads 45° as 47.5°, between 35° (shown) and 65° (hidden).
            {"looked at from 45°", step(eyes(right, 45), upright, right), (65 - 47.5f) / 30},
            {"looked at from behind", step(eyes(right, 180), upright, right), 0},
            {"controller upside down", step(eyes(right, 0), upsideDown, right), 0},
            {"headset lost", step(eyes(right, 0, false), upright, right), 0},
            {"controller lost", step(eyes(right, 0), upright, right, {}, 1, false), 0},
            {"controller without geometry", step(eyes(right, 0), noGeometry, right), 0},
        };
        for (const auto& c : cases)
            EXPECT_NEAR(c.settled.alpha, c.alpha, 1e-4) << c.what << (right ? ", right" : ", left");
    }
}

// A watch hidden from 64° shows from 62°, stays shown at 66° (the play
// holds it) and hides from 67.6°; each fade takes 150 ms.
TEST(WatchGlanceTest, TheEdgeHasPlayAndAFadeTakesAHundredAndFiftyMilliseconds) {
    const struct {
        float degrees, seconds, alpha;
    } steps[] = {{64, 1, 0},        {62, 1, 1 / 60.0f}, {66, 1, 1 / 60.0f}, {67.6f, 1, 0},
                 {0, 0.075f, 0.5f}, {0, -1, 0.5f},      {0, nan, 0.5f},     {0, 0.075f, 1},
                 {180, 0.075f, 0.5f}, {180, 0.075f, 0}};
    GlanceState state;
    for (const auto& s : steps) {
        state = step(eyes(false, s.degrees), upright, false, state, s.seconds);
        EXPECT_NEAR(state.alpha, s.alpha, 1e-5) << s.degrees << "° after " << s.seconds << " s";
    }
    EXPECT_FALSE(glanceShowsWatch(state)) << "a finished fade-out reaches 0 exactly";
}

}  // namespace
