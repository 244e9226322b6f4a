#pragma once

#include "config/wrist_placement.h"
#include "vr/runtime/pose.h"

// Where the watch sits relative to the controller that wears it: turned
// a quarter about the controller's Y axis towards the wrist, tilted about X
// (120° on the right hand, 135° on the left, each plus the fit's tilt) and
// moved 7 cm up, 18 cm plus the fit's offset back along the controller, which
// runs with the forearm, and 2.5 cm outwards: T · R2 · R1, worked in single
// precision.
Pose watchPlacement(bool rightHand, const WristPlacement& fit = {});

// The watch's width for the fit.
float watchWidthInMeters(const WristPlacement& fit);

// A notification's toast, `height` metres tall, sits just beyond the watch:
// in the watch's own plane, above its twelve o'clock with a gap of 5 mm, so
// that it reads the same way up.
Pose toastPlacement(bool rightHand, const WristPlacement& fit, float height);
