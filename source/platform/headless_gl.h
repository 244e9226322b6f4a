#pragma once

// An OpenGL context that needs no window and no display server, for tools
// that only draw into framebuffer objects.
namespace platform {

// Makes a core-profile context of the given version current, with no default
// framebuffer. The context lives until the process ends. False when the
// system offers no such context.
bool createHeadlessGlContext(int majorVersion, int minorVersion);

}  // namespace platform
