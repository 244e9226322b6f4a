#pragma once

#include <memory>

#include "vr/vr_context.h"

struct RenderTarget;
struct Settings;

// Connects to the runtime, registers the program (manifest and auto-launch),
// creates and shows the watch overlay and the dashboard menu with its
// thumbnail, and finds the watch's controller. Returns only on success: every
// failure ends the program with its message. A null runtime is one that is
// not installed. Needs the GL context current.
// For a program started before the runtime: checks about every 2 s, as a
// background application, which never starts the runtime, and returns once
// one is running, with that check's session closed again. An answer other
// than "no server", or a null runtime, ends the program as startVr would.
void waitForRuntime(VrRuntime* runtime);

VrContext startVr(std::unique_ptr<VrRuntime> runtime, const Settings& settings,
                  const RenderTarget& watchTarget, const RenderTarget& menuTarget);

// Drains the runtime's system events, following the watch's controller as
// devices come, go and change hands. True at the quit request, which is
// answered at once: the events behind it stay unpolled.
bool pumpSystemEvents(VrContext& vr);

// Whether the runtime's frames pace the main loop (see VrRuntime::pacesMainLoop);
// never offline.
bool runtimePacesMainLoop(const VrContext& vr);

// Answers the quit request as OpenVR asks, telling the runtime that the
// program is leaving, then closes the session.
void leaveVr(VrContext& vr);
