#pragma once

#include <openxr/openxr.h>

#include "vr/runtime/pose.h"

// The program's poses are written as OpenXR's: a unit quaternion (x, y, z, w)
// and a position, in metres.
inline XrPosef xrPoseOf(const Pose& pose) {
    const Quaternion& q = pose.orientation;
    return {{q.x, q.y, q.z, q.w}, {pose.position.x, pose.position.y, pose.position.z}};
}

inline Pose poseOf(const XrPosef& pose) {
    const XrQuaternionf& q = pose.orientation;
    return {{q.x, q.y, q.z, q.w}, {pose.position.x, pose.position.y, pose.position.z}};
}
