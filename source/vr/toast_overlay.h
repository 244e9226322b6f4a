#pragma once

#include <memory>

#include "config/wrist_placement.h"
#include "vr/runtime/vr_runtime.h"

struct Settings;

// The quad that shows a notification's toast beside the watch, on the
// watch's controller. It shows whether or not the watch is glanced at, but
// not while the watch is off or disabled, or notifications are.
class ToastOverlay {
public:
    // Made hidden, 10 cm wide, for the toast image's texture; a refusal is
    // logged and the run goes on without toasts. No texture (0): this system
    // has no toasts, and nothing is made.
    ToastOverlay(VrRuntime& runtime, GLuint toastTexture);

    // The toast at this alpha (0: none to show) on the watch's controller;
    // `newImage` when the toast's image was drawn anew, which is handed over
    // once the toast can show.
    void update(const Settings& settings, ControllerId watchController, float alpha, bool newImage);

private:
    void place(const Settings& settings, ControllerId watchController);

    std::unique_ptr<WristQuad> quad;
    // The toast as the runtime was last told: shown, at which alpha, and
    // placed on which controller for which hand and fit.
    bool shown = false;
    bool imagePending = false;
    float alpha = 1;
    ControllerId placedOn = noController;
    bool onRightHand = false;
    WristPlacement fit;
};
