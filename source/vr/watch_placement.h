#pragma once

#include "vr/vr_runtime.h"

// Where the watch sits relative to the controller that wears it: turned
// a quarter about the controller's Y axis towards the wrist, tilted about X
// (120° on the right hand, 135° on the left) and moved 7 cm up, 18 cm back
// and 2.5 cm outwards. The first three rows of T · R2 · R1, worked in single
// precision.
HmdMatrix34_t watchPlacement(bool rightHand);
