// The OpenXR wing's menu by controller: where the laser meets the menu, where
// the menu stands when it opens, the thin ray's turn, and the rules that read
// the trigger, the long press and the stick.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "vr/openxr/controller_gestures.h"
#include "vr/openxr/laser_geometry.h"
#include "vr/openxr/openxr_pose.h"

namespace {

// A turn about the vertical by the angle, to the left (-z towards -x).
XrQuaternionf turnLeft(float degrees) {
    const float half = degrees * 3.14159265f / 360;
    return {0, std::sin(half), 0, std::cos(half)};
}
// A turn about x by the angle, up (-z towards +y).
XrQuaternionf tiltUp(float degrees) {
    const float half = degrees * 3.14159265f / 360;
    return {std::sin(half), 0, 0, std::cos(half)};
}
XrQuaternionf product(XrQuaternionf a, XrQuaternionf b) {
    return {a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y, a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x,
            a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w, a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z};
}

XrVector3f column(const XrPosef& pose, int which) {
    const PoseMatrix m = matrixFromPose(poseOf(pose));
    return {m.m[0][which], m.m[1][which], m.m[2][which]};
}

void expectNear(XrVector3f a, XrVector3f b, const char* what) {
    EXPECT_NEAR(a.x, b.x, 1e-4) << what;
    EXPECT_NEAR(a.y, b.y, 1e-4) << what;
    EXPECT_NEAR(a.z, b.z, 1e-4) << what;
}

// A menu 0.6 m wide, 0.4 m high, 1 m before the origin at 1.5 m, facing it;
// rays from the front, behind, beside and along it.
TEST(OpenXrLaserTest, TheRayMeetsTheQuadOnlyOnItsFace) {
    const XrPosef facingUs = {{0, 0, 0, 1}, {0, 1.5f, -1}};
    const XrPosef facingRight = {turnLeft(90), {-1, 1.5f, 0}};  // its face towards +x
    const XrExtent2Df size = {0.6f, 0.4f};
    const struct {
        const char* what;
        XrPosef quad, ray;
        std::optional<XrVector3f> hit;  // x, y fractions from the top-left, then the hit's z in the room
    } cases[] = {
        {"straight at the centre", facingUs, {{0, 0, 0, 1}, {0, 1.5f, 0}}, XrVector3f{0.5f, 0.5f, -1}},
        {"the bottom-left quarter", facingUs, {{0, 0, 0, 1}, {-0.15f, 1.4f, 0}}, XrVector3f{0.25f, 0.75f, -1}},
        {"the top-right corner itself", facingUs, {{0, 0, 0, 1}, {0.3f, 1.7f, 0}}, XrVector3f{1, 0, -1}},
        {"the left edge itself", facingUs, {{0, 0, 0, 1}, {-0.3f, 1.5f, 0}}, XrVector3f{0, 0.5f, -1}},
        {"just past the right edge", facingUs, {{0, 0, 0, 1}, {0.301f, 1.5f, 0}}, std::nullopt},
        {"just above the top", facingUs, {{0, 0, 0, 1}, {0, 1.701f, 0}}, std::nullopt},
        {"slanting in from the side", facingUs, {turnLeft(45), {1, 1.5f, 0}}, XrVector3f{0.5f, 0.5f, -1}},
        {"tilted down from nearer", facingUs, {tiltUp(-45), {0, 1.7f, -0.9f}}, XrVector3f{0.5f, 0.25f, -1}},
        {"tilted down, passing under", facingUs, {tiltUp(-45), {0, 1.6f, -0.5f}}, std::nullopt},
        {"along its plane", facingUs, {turnLeft(-90), {-1, 1.5f, -1}}, std::nullopt},
        {"parallel to it, in front", facingUs, {turnLeft(90), {1, 1.5f, -0.5f}}, std::nullopt},
        {"pointing away from its face", facingUs, {turnLeft(180), {0, 1.5f, 0}}, std::nullopt},
        {"from behind, pointing away", facingUs, {{0, 0, 0, 1}, {0, 1.5f, -2}}, std::nullopt},
        // Its x runs along -z of the room: a point nearer -z is further right.
        {"a quad turned to the side", facingRight, {turnLeft(90), {0, 1.5f, -0.15f}}, XrVector3f{0.75f, 0.5f, -0.15f}},
    };
    for (const auto& c : cases) {
        const std::optional<QuadHit> hit = rayMeetsQuad(c.ray, c.quad, size);
        ASSERT_EQ(hit.has_value(), c.hit.has_value()) << c.what;
        if (!hit) continue;
        EXPECT_NEAR(hit->x, c.hit->x, 1e-4) << c.what;
        EXPECT_NEAR(hit->y, c.hit->y, 1e-4) << c.what;
        EXPECT_NEAR(hit->point.z, c.hit->z, 1e-4) << c.what;
    }
}

// However the head is tilted, the menu stands upright before it at its
// height, facing it.
TEST(OpenXrLaserTest, TheMenuStandsUprightBeforeTheHead) {
    const struct {
        const char* what;
        XrQuaternionf head;
        XrVector3f place, facing;
    } cases[] = {
        {"looking ahead", {0, 0, 0, 1}, {0, 1.6f, -0.8f}, {0, 0, 1}},
        {"turned left, looking down", product(turnLeft(90), tiltUp(-30)), {-0.8f, 1.6f, 0}, {1, 0, 0}},
        {"looking straight down", tiltUp(-90), {0, 1.6f, -0.8f}, {0, 0, 1}},
        {"looking straight up, turned round", product(turnLeft(180), tiltUp(90)), {0, 1.6f, 0.8f}, {0, 0, -1}},
    };
    for (const auto& c : cases) {
        const XrPosef menu = uprightFacing({c.head, {0, 1.6f, 0}}, 0.8f);
        expectNear(menu.position, c.place, c.what);
        expectNear(column(menu, 1), {0, 1, 0}, c.what);
        expectNear(column(menu, 2), c.facing, c.what);
    }
}

// The ray's strip runs from the hand to the pointer, its face turned to the
// eye about that line.
TEST(OpenXrLaserTest, TheRayRunsFromTheHandToThePointerFacingTheEye) {
    const XrPosef strip = stripBetween({0, 1, 0}, {0, 1, -1}, {0, 1.6f, 0.5f});
    expectNear(strip.position, {0, 1, -0.5f}, "halfway");
    expectNear(column(strip, 1), {0, 0, -1}, "along");
    expectNear(column(strip, 2), {0, 1, 0}, "towards the eye");
    // The eye on the line: still a turn, of unit length.
    const XrPosef inLine = stripBetween({0, 1, 0}, {0, 1, -1}, {0, 1, 1});
    expectNear(column(inLine, 1), {0, 0, -1}, "along, eye in line");
    const XrQuaternionf q = inLine.orientation;
    EXPECT_NEAR(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w, 1, 1e-5);
}

// Pressed above 0.7, released below 0.3, held between.
TEST(OpenXrLaserTest, TheTriggerHasHysteresis) {
    const struct {
        bool was;
        float value;
        bool now;
    } cases[] = {
        {false, 0, false},    {false, 0.5f, false}, {false, 0.7f, false}, {false, 0.71f, true},
        {false, 1, true},     {true, 1, true},      {true, 0.5f, true},   {true, 0.3f, true},
        {true, 0.29f, false}, {true, 0, false},     {false, NAN, false},  {true, NAN, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(triggerPressed(c.was, c.value), c.now) << c.was << " at " << c.value;
}

// A hold counts once, on reaching 0.6 s; a shorter one never; a release
// arms it again.
TEST(OpenXrLaserTest, TheLongPressCountsOnceWhenHeldLongEnough) {
    constexpr std::int64_t ms = 1'000'000;
    const struct {
        bool held;
        std::int64_t at;
        bool completes;
    } frames[] = {
        {true, 0, false},         {true, 300 * ms, false},   {true, 599 * ms, false},
        {false, 610 * ms, false},  // too short
        {true, 700 * ms, false},  {true, 1299 * ms, false},  {true, 1300 * ms, true},
        {true, 1400 * ms, false}, {true, 5000 * ms, false},  // held on: once
        {false, 5100 * ms, false}, {true, 5200 * ms, false}, {true, 5900 * ms, true},
    };
    LongPress press;
    for (const auto& frame : frames)
        EXPECT_EQ(longPressCompleted(press, frame.held, frame.at), frame.completes) << frame.at / ms << " ms";
}

TEST(OpenXrLaserTest, TheStickScrollsPastItsDeadZone) {
    const struct {
        float y, seconds, lines;
    } cases[] = {
        {0, 0.011f, 0},      {0.2f, 0.011f, 0},       {-0.2f, 0.5f, 0},
        {1, 0.01f, 0.08f},   {-1, 0.01f, -0.08f},     {0.6f, 0.01f, 0.04f},
        {1, 5, 0.8f},  // a stalled frame scrolls no more than a tenth of a second's worth
        {2, 0.01f, 0.08f},   {1, -0.01f, 0},          {NAN, 0.01f, 0},
    };
    for (const auto& c : cases) EXPECT_NEAR(scrollLines(c.y, c.seconds), c.lines, 1e-5) << c.y << ", " << c.seconds;
}

}  // namespace
