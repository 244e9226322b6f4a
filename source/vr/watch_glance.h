#pragma once

#include <optional>

#include "vr/runtime/pose.h"

// "When I look at it": the watch fades in as the wrist turns its face towards
// the eyes and out as it turns away. Pure arithmetic on the poses, so that a
// table of poses can judge it.
//
// The measure is the angle between the watch's face normal and the line from
// the watch to the headset. Within 35° the watch is fully shown, beyond 65°
// hidden, and in between its alpha falls off evenly. The angle is read with a
// play of 2.5° either way: tracking jitter at an edge moves nothing, so the
// watch does not flicker there. The alpha follows at most one full fade per
// 150 ms, in either direction.

struct GlanceState {
    float alpha = 0;
    // The angle as the play holds it; a hidden watch starts facing away.
    float heldAngleDegrees = 180;
};

inline bool glanceShowsWatch(const GlanceState& state) { return state.alpha > 0; }

// One step after elapsedSeconds. The watch sits on the controller at
// watchOnController, the chosen hand's placement. A pose that is not tracked
// (none), or numbers that make no geometry, count as looking away.
GlanceState followGlance(const std::optional<Pose>& headset, const std::optional<Pose>& controller,
                         const Pose& watchOnController, const GlanceState& previous, float elapsedSeconds);
