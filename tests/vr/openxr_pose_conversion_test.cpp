// OpenVR's matrices and OpenXR's poses for the same turns and places: the
// OpenXR wing hands the program's placements to the runtime as poses and the
// runtime's poses to the program as matrices.
#include <gtest/gtest.h>

#include <cmath>

#include "vr/openxr/pose_conversion.h"
#include "vr/watch_placement.h"

namespace {

void expectSameMatrix(const HmdMatrix34_t& a, const HmdMatrix34_t& b) {
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 4; ++column)
            EXPECT_NEAR(a.m[row][column], b.m[row][column], 1e-6) << row << ", " << column;
}

// q and -q are the same turn.
void expectSameTurn(const XrQuaternionf& q, const XrQuaternionf& expected) {
    const float sign = q.x * expected.x + q.y * expected.y + q.z * expected.z + q.w * expected.w < 0 ? -1.0f : 1.0f;
    EXPECT_NEAR(sign * q.x, expected.x, 1e-6);
    EXPECT_NEAR(sign * q.y, expected.y, 1e-6);
    EXPECT_NEAR(sign * q.z, expected.z, 1e-6);
    EXPECT_NEAR(sign * q.w, expected.w, 1e-6);
}

// A half turn about each axis and the identity take each of the conversion's
// four ways to the quaternion; a quarter turn about y shows which way it turns.
TEST(OpenXrPoseConversionTest, TurnsBecomeQuaternionsAndBack) {
    const float s = std::sqrt(0.5f);
    const struct {
        HmdMatrix34_t matrix;
        XrQuaternionf turn;
    } cases[] = {
        {{{{1, 0, 0, 0.1f}, {0, 1, 0, 0.2f}, {0, 0, 1, 0.3f}}}, {0, 0, 0, 1}},
        {{{{1, 0, 0, 0}, {0, -1, 0, 0}, {0, 0, -1, 0}}}, {1, 0, 0, 0}},
        {{{{-1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, -1, 0}}}, {0, 1, 0, 0}},
        {{{{-1, 0, 0, 0}, {0, -1, 0, 0}, {0, 0, 1, 0}}}, {0, 0, 1, 0}},
        // x goes to -z: a quarter turn to the left about the vertical
        {{{{0, 0, 1, 0}, {0, 1, 0, 0}, {-1, 0, 0, 0}}}, {0, s, 0, s}},
    };
    for (const auto& c : cases) {
        const XrPosef pose = poseFromMatrix(c.matrix);
        expectSameTurn(pose.orientation, c.turn);
        EXPECT_EQ(pose.position.x, c.matrix.m[0][3]);
        EXPECT_EQ(pose.position.y, c.matrix.m[1][3]);
        EXPECT_EQ(pose.position.z, c.matrix.m[2][3]);
        expectSameMatrix(matrixFromPose(pose), c.matrix);
    }
}

// Turns whose quaternion has each of its parts the largest in turn, through
// a matrix and back.
TEST(OpenXrPoseConversionTest, AnyTurnComesBackFromItsMatrix) {
    const XrQuaternionf turns[] = {
        {0.9f, 0.3f, -0.3f, 0.1f}, {0.3f, -0.9f, 0.3f, 0.1f}, {-0.3f, 0.3f, 0.9f, 0.1f}, {0.1f, 0.3f, 0.3f, -0.9f}};
    for (XrQuaternionf turn : turns) {
        const float length = std::sqrt(turn.x * turn.x + turn.y * turn.y + turn.z * turn.z + turn.w * turn.w);
        turn = {turn.x / length, turn.y / length, turn.z / length, turn.w / length};
        expectSameTurn(poseFromMatrix(matrixFromPose({turn, {1, 2, 3}})).orientation, turn);
    }
}

// The watch's placements on both hands, with a fit, survive the way there
// and back, and the quaternion handed to the runtime is of unit length.
TEST(OpenXrPoseConversionTest, WatchPlacementsSurviveTheRoundTrip) {
    for (bool rightHand : {false, true})
        for (const WristPlacement& fit : {WristPlacement{}, WristPlacement{12, -5, 30}, WristPlacement{4, 5, -30}}) {
            const HmdMatrix34_t placement = watchPlacement(rightHand, fit);
            const XrQuaternionf q = poseFromMatrix(placement).orientation;
            EXPECT_NEAR(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w, 1, 1e-6);
            expectSameMatrix(matrixFromPose(poseFromMatrix(placement)), placement);
        }
}

}  // namespace
