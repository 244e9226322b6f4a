#include "vr/watch_glance.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float fullyShownWithinDegrees = 35;
constexpr float hiddenBeyondDegrees = 65;
constexpr float playDegrees = 2.5f;
constexpr float fadeSeconds = 0.15f;
constexpr float facingAway = 180;

double dot(const Vector3& a, const Vector3& b) {
    return double(a.x) * b.x + double(a.y) * b.y + double(a.z) * b.z;
}

// An overlay shows its face along its own +z.
float viewAngleDegrees(const std::optional<Pose>& headset, const std::optional<Pose>& controller,
                       const Pose& watchOnController) {
    if (!headset || !controller) return facingAway;
    const Pose watch = placedOn(*controller, watchOnController);
    const Vector3 normal = rotated(watch.orientation, {0, 0, 1});
    const Vector3 toEyes{headset->position.x - watch.position.x, headset->position.y - watch.position.y,
                         headset->position.z - watch.position.z};
    const double lengths = std::sqrt(dot(normal, normal) * dot(toEyes, toEyes));
    if (!std::isfinite(lengths) || lengths < 1e-9) return facingAway;
    const double cosine = std::clamp(dot(normal, toEyes) / lengths, -1.0, 1.0);
    return static_cast<float>(std::acos(cosine) * 180 / 3.14159265358979323846);
}

}  // namespace

GlanceState followGlance(const std::optional<Pose>& headset, const std::optional<Pose>& controller,
                         const Pose& watchOnController, const GlanceState& previous, float elapsedSeconds) {
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
