#include "vr/openxr/pose_conversion.h"

#include <cmath>

XrPosef poseFromMatrix(const HmdMatrix34_t& matrix) {
    const auto& m = matrix.m;
    XrQuaternionf q;
    // From the largest of w, x, y, z, which keeps the square root away from 0.
    const float trace = m[0][0] + m[1][1] + m[2][2];
    if (trace > 0) {
        const float s = 2 * std::sqrt(1 + trace);
        q = {(m[2][1] - m[1][2]) / s, (m[0][2] - m[2][0]) / s, (m[1][0] - m[0][1]) / s, s / 4};
    } else if (m[0][0] > m[1][1] && m[0][0] > m[2][2]) {
        const float s = 2 * std::sqrt(1 + m[0][0] - m[1][1] - m[2][2]);
        q = {s / 4, (m[0][1] + m[1][0]) / s, (m[0][2] + m[2][0]) / s, (m[2][1] - m[1][2]) / s};
    } else if (m[1][1] > m[2][2]) {
        const float s = 2 * std::sqrt(1 + m[1][1] - m[0][0] - m[2][2]);
        q = {(m[0][1] + m[1][0]) / s, s / 4, (m[1][2] + m[2][1]) / s, (m[0][2] - m[2][0]) / s};
    } else {
        const float s = 2 * std::sqrt(1 + m[2][2] - m[0][0] - m[1][1]);
        q = {(m[0][2] + m[2][0]) / s, (m[1][2] + m[2][1]) / s, s / 4, (m[1][0] - m[0][1]) / s};
    }
    // Runtimes refuse a quaternion that is not of unit length.
    const float length = std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w);
    q = {q.x / length, q.y / length, q.z / length, q.w / length};
    return XrPosef{q, XrVector3f{m[0][3], m[1][3], m[2][3]}};
}

HmdMatrix34_t matrixFromPose(const XrPosef& pose) {
    const float x = pose.orientation.x, y = pose.orientation.y, z = pose.orientation.z,
                w = pose.orientation.w;
    return HmdMatrix34_t{{
        {1 - 2 * (y * y + z * z), 2 * (x * y - z * w), 2 * (x * z + y * w), pose.position.x},
        {2 * (x * y + z * w), 1 - 2 * (x * x + z * z), 2 * (y * z - x * w), pose.position.y},
        {2 * (x * z - y * w), 2 * (y * z + x * w), 1 - 2 * (x * x + y * y), pose.position.z},
    }};
}
