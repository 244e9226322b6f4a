#pragma once

#include "vr/vr_context.h"

struct Settings;

// The glance's share of a pass, for a watch that shows only when looked at.

// Reads the headset's and the watch controller's poses and steps the glance;
// when not glancing (another visibility, the watch disabled, no controller)
// the glance rests hidden and no pose is read. A watch coming into view asks
// for a redraw, so that it appears with a current image. True when the
// overlay has to follow (showOrHideWatch), which the pass does after its
// redraw.
bool lookForGlance(VrContext& vr, Settings& settings);

// The watch's image is needed while its controller is known and the watch
// shows, or the menu, which pictures it, is open: a watch nobody can see
// (off, disabled, waiting for a glance) costs no redraws.
bool watchImageNeeded(const VrContext& vr, const Settings& settings);
