#pragma once

#include <windows.h>

// What the program's window and the headless context share on Windows: the
// pixel format and the core context.
namespace platform {

// Picks and sets an RGBA8, double-buffered pixel format without depth or
// stencil. Zero from ChoosePixelFormat stops before SetPixelFormat.
enum class PixelFormatResult { set, noneMatches, notSet };
PixelFormatResult setPixelFormat(HDC deviceContext);

// A core-profile debug context of the given version on the device context,
// or null. Needs a current context to find wglCreateContextAttribsARB.
HGLRC createCoreContext(HDC deviceContext, int majorVersion, int minorVersion);

}  // namespace platform
