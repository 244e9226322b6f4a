#pragma once

#include <openxr/openxr.h>

#include "vr/vr_runtime.h"

// OpenVR's matrices and OpenXR's poses name the same thing, a frame's axes
// and origin in another frame, both with x right, y up and z backwards in
// metres; OpenVR writes it as the first three rows of a matrix, OpenXR as a
// unit quaternion and a position. The matrix's turn must be a rotation.
XrPosef poseFromMatrix(const HmdMatrix34_t& matrix);
HmdMatrix34_t matrixFromPose(const XrPosef& pose);
