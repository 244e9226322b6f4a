#pragma once

// Xlib's own name for a display connection.
typedef struct _XDisplay Display;

namespace platform {

// Connects to the X server named by DISPLAY. A busy server may refuse or reset
// a connection for a moment (Xvfb does, under a burst of clients), so a
// failure is tried again for about half a second; without DISPLAY there is no
// server to wait for and null comes back at once.
Display* openX11Display();

}  // namespace platform
