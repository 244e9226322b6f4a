#pragma once

#include "vr/vr_context.h"

struct Settings;

// The watch overlay's share of each pass: which controller wears it, whether
// it shows, its events, its image and its placement on the wrist.

// The role from the chosen hand, then the device that has that role now.
void resolveWatchDevice(VrContext& vr, const Settings& settings);
// The device that has the current role now, or none.
void lookUpWatchDevice(VrContext& vr);

// Whether the watch shows: while its controller is known and the user wants
// the watch, always or while the glance shows it.
bool watchOverlayShows(const VrContext& vr, const Settings& settings);
// Shows it, at the glance's alpha, or hides it, as watchOverlayShows says.
void showOrHideWatch(VrContext& vr, const Settings& settings);

// Writes the name of each queued event's type to the debugger output.
void drainWatchEvents(VrContext& vr);

// Hands the freshly drawn watch image to the runtime while the watch shows;
// otherwise only the menu pictures it.
void submitWatch(VrContext& vr, const Settings& settings);

// Sets the chosen hand's placement relative to the watch's controller; a
// refusal is reported on the debugger output and tried again next redraw.
void placeWatch(VrContext& vr, const Settings& settings);

// A changed fit (size, offset, tilt) reaches the runtime at once, without
// waiting for the next redraw.
void fitWatch(VrContext& vr, const Settings& settings);
