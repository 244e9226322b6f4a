#pragma once

namespace platform {
struct Window;
}

// Opens the window (shown only when offline) with a current OpenGL 4.3 core
// debug context, GL entry points loaded and driver messages routed to the
// log. Every failure ends the program with its own message.
platform::Window& bootstrapGlContext(bool offline);
