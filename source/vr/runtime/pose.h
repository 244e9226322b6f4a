#pragma once

// Where a thing is and which way it is turned, in metres, within the
// standing space or on a controller: x to the right, y up, z backwards. The
// turn is a unit quaternion, as OpenXR and Monado write poses.
struct Vector3 {
    float x = 0, y = 0, z = 0;
};

struct Quaternion {
    float x = 0, y = 0, z = 0, w = 1;
};

struct Pose {
    Quaternion orientation;
    Vector3 position;
};

// The turn applied to a direction.
Vector3 rotated(const Quaternion& turn, const Vector3& direction);

// `inner`, given on `outer`, in the space `outer` is given in.
Pose placedOn(const Pose& outer, const Pose& inner);

// The same pose as the first three rows of a matrix, the pose's axes as the
// first three columns and its position as the fourth. A matrix's turn must be
// a rotation.
struct PoseMatrix {
    float m[3][4];
};
Pose poseFromMatrix(const PoseMatrix& matrix);
PoseMatrix matrixFromPose(const Pose& pose);
