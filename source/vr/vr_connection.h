#pragma once

#include "vr/runtime/vr_runtime.h"

struct RenderTarget;
struct Settings;

// For a program started before the runtime: asks about every 2 s, without
// starting one, and returns once one is running. An answer other than "not
// running" ends the program with the runtime's line.
void waitForRuntime(VrRuntime& runtime);

// Starts the session: the watch on the controller of the settings' hand,
// shown unless it is off or waits for a glance, and the menu with the icon
// "dashboard_overlay.png" where it can be read. Returns only on success:
// a failure ends the program with the runtime's line. Needs the GL context current.
VrStarted startVr(VrRuntime& runtime, const Settings& settings, const RenderTarget& watchTarget,
                  const RenderTarget& menuTarget);
