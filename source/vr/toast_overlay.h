#pragma once

#include "vr/vr_context.h"

// OpenGL's name for its objects, without the GL headers.
typedef unsigned int GLuint;
struct Settings;

// The overlay that shows a notification's toast beside the watch, on the
// watch's controller. It shows whether or not the watch is glanced at, but
// not while the watch is off or disabled, or notifications are.

// Makes the overlay, hidden, 10 cm wide, for the toast image's texture; a
// refusal is logged and the run goes on without toasts. No texture (0): this
// system has no toasts, and no overlay is made.
void createToastOverlay(VrContext& vr, GLuint toastTexture);

// The toast at this alpha (0: none to show); `newImage` when the toast's
// image was drawn anew, which is handed over once the toast can show.
void updateToastOverlay(VrContext& vr, const Settings& settings, float alpha, bool newImage);
