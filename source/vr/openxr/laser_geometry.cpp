#include "vr/openxr/laser_geometry.h"

#include <algorithm>
#include <cmath>

#include "vr/openxr/openxr_pose.h"

namespace {

XrVector3f operator+(XrVector3f a, XrVector3f b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
XrVector3f operator-(XrVector3f a, XrVector3f b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
XrVector3f operator*(float s, XrVector3f v) { return {s * v.x, s * v.y, s * v.z}; }
float dot(XrVector3f a, XrVector3f b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
XrVector3f cross(XrVector3f a, XrVector3f b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
float length(XrVector3f v) { return std::sqrt(dot(v, v)); }

// The pose's own axis (a column of its turn) in the space it is given in.
XrVector3f axis(const XrPosef& pose, int which) {
    const PoseMatrix m = matrixFromPose(poseOf(pose));
    return {m.m[0][which], m.m[1][which], m.m[2][which]};
}

// A pose from its x, y and z axes, which must be of unit length and at
// right angles, and its origin.
XrPosef poseOfAxes(XrVector3f x, XrVector3f y, XrVector3f z, XrVector3f origin) {
    return xrPoseOf(poseFromMatrix(
        PoseMatrix{{{x.x, y.x, z.x, origin.x}, {x.y, y.y, z.y, origin.y}, {x.z, y.z, z.z, origin.z}}}));
}

}  // namespace

std::optional<QuadHit> rayMeetsQuad(const XrPosef& ray, const XrPosef& quad, XrExtent2Df size) {
    const XrVector3f normal = axis(quad, 2), direction = -1.0f * axis(ray, 2);
    const float height = dot(ray.position - quad.position, normal);
    const float approach = dot(direction, normal);
    // In front of the face and going towards it; a ray along the plane never
    // comes nearer.
    if (!(height > 0) || !(approach < -1e-6f)) return std::nullopt;
    const XrVector3f point = ray.position + (height / -approach) * direction;
    const XrVector3f offset = point - quad.position;
    const float x = dot(offset, axis(quad, 0)) / size.width + 0.5f;
    const float y = 0.5f - dot(offset, axis(quad, 1)) / size.height;
    // The edges belong to the quad, whatever the rounding.
    constexpr float edge = 1e-5f;
    if (!(x >= -edge && x <= 1 + edge && y >= -edge && y <= 1 + edge)) return std::nullopt;
    return QuadHit{std::clamp(x, 0.0f, 1.0f), std::clamp(y, 0.0f, 1.0f), point};
}

XrPosef uprightFacing(const XrPosef& head, float distance) {
    const XrVector3f view = -1.0f * axis(head, 2);
    XrVector3f ahead = {view.x, 0, view.z};
    if (length(ahead) < 1e-3f) {
        // Looking up, the top of the head points back; looking down, ahead.
        const XrVector3f top = axis(head, 1);
        ahead = view.y > 0 ? XrVector3f{-top.x, 0, -top.z} : XrVector3f{top.x, 0, top.z};
    }
    if (length(ahead) < 1e-3f) ahead = {0, 0, -1};
    ahead = (1 / length(ahead)) * ahead;
    const XrVector3f up = {0, 1, 0}, back = -1.0f * ahead;
    return poseOfAxes(cross(up, back), up, back, head.position + distance * ahead);
}

XrPosef stripBetween(const XrVector3f& from, const XrVector3f& to, const XrVector3f& eye) {
    const XrVector3f middle = 0.5f * (from + to);
    XrVector3f along = to - from;
    along = length(along) > 0 ? (1 / length(along)) * along : XrVector3f{0, 1, 0};
    // Towards the eye, less what runs along the strip.
    XrVector3f facing = eye - middle;
    facing = facing - dot(facing, along) * along;
    if (length(facing) < 1e-6f) {
        // The eye on the line itself: any side will do.
        facing = cross(along, std::fabs(along.x) < 0.9f ? XrVector3f{1, 0, 0} : XrVector3f{0, 0, 1});
    }
    facing = (1 / length(facing)) * facing;
    return poseOfAxes(cross(along, facing), along, facing, middle);
}
