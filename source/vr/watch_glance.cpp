#include "vr/watch_glance.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float fullyShownWithinDegrees = 35;
constexpr float hiddenBeyondDegrees = 65;
constexpr float playDegrees = 2.5f;
constexpr float fadeSeconds = 0.15f;
constexpr float facingAway = 180;

struct Vector {
    double x, y, z;
};

Vector operator-(const Vector& a, const Vector& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
double dot(const Vector& a, const Vector& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// The matrix's turn applied to a direction, with its offset too for a point.
Vector turned(const HmdMatrix34_t& m, const Vector& v) {
    return {m.m[0][0] * v.x + m.m[0][1] * v.y + m.m[0][2] * v.z,
            m.m[1][0] * v.x + m.m[1][1] * v.y + m.m[1][2] * v.z,
            m.m[2][0] * v.x + m.m[2][1] * v.y + m.m[2][2] * v.z};
}
Vector offsetOf(const HmdMatrix34_t& m) { return {m.m[0][3], m.m[1][3], m.m[2][3]}; }
Vector placed(const HmdMatrix34_t& m, const Vector& point) {
    const Vector t = turned(m, point), offset = offsetOf(m);
    return {t.x + offset.x, t.y + offset.y, t.z + offset.z};
}

// An overlay shows its face along its own +z.
float viewAngleDegrees(const TrackedDevicePose_t& headset, const TrackedDevicePose_t& controller,
                       const HmdMatrix34_t& watchOnController) {
    if (!headset.bPoseIsValid || !controller.bPoseIsValid) return facingAway;
    const HmdMatrix34_t& hand = controller.mDeviceToAbsoluteTracking;
    const Vector watch = placed(hand, offsetOf(watchOnController));
    const Vector normal = turned(hand, turned(watchOnController, {0, 0, 1}));
    const Vector toEyes = offsetOf(headset.mDeviceToAbsoluteTracking) - watch;
    const double lengths = std::sqrt(dot(normal, normal) * dot(toEyes, toEyes));
    if (!std::isfinite(lengths) || lengths < 1e-9) return facingAway;
    const double cosine = std::clamp(dot(normal, toEyes) / lengths, -1.0, 1.0);
    return static_cast<float>(std::acos(cosine) * 180 / 3.14159265358979323846);
}

}  // namespace

GlanceState followGlance(const TrackedDevicePose_t& headset, const TrackedDevicePose_t& controller,
                         const HmdMatrix34_t& watchOnController, const GlanceState& previous,
                         float elapsedSeconds) {
    const float angle = viewAngleDegrees(headset, controller, watchOnController);
    GlanceState next;
    next.heldAngleDegrees =
        std::clamp(previous.heldAngleDegrees, angle - playDegrees, angle + playDegrees);
    const float target = std::clamp((hiddenBeyondDegrees - next.heldAngleDegrees) /
                                        (hiddenBeyondDegrees - fullyShownWithinDegrees),
                                    0.0f, 1.0f);
    const float step = elapsedSeconds > 0 ? elapsedSeconds / fadeSeconds : 0;
    // Reaching the target exactly matters: a watch at alpha 0 is hidden.
    next.alpha = std::fabs(target - previous.alpha) <= step
                     ? target
                     : previous.alpha + std::copysign(step, target - previous.alpha);
    return next;
}
