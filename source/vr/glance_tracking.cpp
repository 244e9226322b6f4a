#include "vr/glance_tracking.h"

#include "config/settings.h"
#include "vr/watch_overlay.h"
#include "vr/watch_placement.h"

bool lookForGlance(VrContext& vr, Settings& settings) {
    const auto now = std::chrono::steady_clock::now();
    const float elapsedSeconds = std::chrono::duration<float>(now - vr.lastLook).count();
    vr.lastLook = now;

    GlanceState next;
    // A runtime that names an impossible device is not asked about it.
    if (settings.watchVisibility == WatchVisibility::WhenLookedAt && settings.watchEnabled &&
        vr.watchDeviceIndex < k_unMaxTrackedDeviceCount) {
        TrackedDevicePose_t poses[k_unMaxTrackedDeviceCount] = {};
        vr.runtime->GetDeviceToAbsoluteTrackingPose(TrackingUniverseStanding, 0, poses,
                                                    vr.watchDeviceIndex + 1);
        next = followGlance(poses[k_unTrackedDeviceIndex_Hmd], poses[vr.watchDeviceIndex],
                            watchPlacement(settings.watchOnRightHand, settings.placement),
                            vr.glance, elapsedSeconds);
    }
    if (glanceShowsWatch(next) && !glanceShowsWatch(vr.glance)) settings.needsRedraw = true;
    const bool moved = next.alpha != vr.glance.alpha;
    vr.glance = next;
    return moved;
}

bool watchImageNeeded(const VrContext& vr, const Settings& settings) {
    if (vr.watchDeviceIndex == k_unTrackedDeviceIndexInvalid) return false;
    return watchOverlayShows(vr, settings) || vr.menuShown;
}
