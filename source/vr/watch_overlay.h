#pragma once

#include <chrono>
#include <cstdint>
#include <memory>

#include "config/wrist_placement.h"
#include "vr/runtime/vr_runtime.h"
#include "vr/watch_glance.h"

struct Settings;

// The hand the settings put the watch on.
Hand watchHand(const Settings& settings);

// The watch on the wrist: which controller wears it, whether it shows (and,
// while it shows only when looked at, the glance), its image and its
// placement.
class WatchOverlay {
public:
    WatchOverlay(VrRuntime& runtime, std::unique_ptr<WristQuad> quad, ControllerId controller,
                 const Settings& settings);

    // None while no controller is in the watch's hand.
    ControllerId controller() const { return wornOn; }
    // Asks anew which controller is in the chosen hand.
    void lookUpController(const Settings& settings);
    void controllerGone(ControllerId gone);

    // Whether the watch shows: while its controller is known and the user
    // wants the watch, always or while the glance shows it.
    bool shows(const Settings& settings) const;
    // Shows it, at the glance's alpha, or hides it, as shows() says.
    void showOrHide(const Settings& settings);

    // The freshly drawn image goes to the runtime while the watch shows
    // (otherwise only the menu pictures it), and the watch is placed on its
    // controller; a refusal is logged and tried again at the next redraw.
    void drawn(const Settings& settings);
    std::uint64_t imagesDrawn() const { return images; }

    // A changed fit (size, offset, tilt) reaches the runtime at once, without
    // waiting for the next redraw.
    void fit(const Settings& settings);

    // Reads the headset's and the controller's poses and steps the glance;
    // when not glancing (another visibility, the watch disabled, no
    // controller) the glance rests hidden and no pose is read. A watch coming
    // into view asks for a redraw, so that it appears with a current image.
    // True when the watch has to follow (showOrHide), which the pass does
    // after its redraw.
    bool followGlance(Settings& settings);
    bool watchingForGlance(const Settings& settings) const;
    bool glanceFading() const { return glance.alpha > 0 && glance.alpha < 1; }

private:
    void place(const Settings& settings);

    VrRuntime& runtime;
    const std::unique_ptr<WristQuad> quad;
    ControllerId wornOn;
    std::uint64_t images = 0;
    GlanceState glance;
    std::chrono::steady_clock::time_point lastLook = std::chrono::steady_clock::now();
    // What the runtime was last given; a quad starts at alpha 1.
    float alpha = 1;
    WristPlacement fitted;
};
