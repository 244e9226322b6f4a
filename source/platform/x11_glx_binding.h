#pragma once

#include <cstdint>
#include <optional>

// Xlib's and GLX's own names, without their headers.
typedef struct _XDisplay Display;
typedef struct __GLXFBConfigRec* GLXFBConfig;
typedef struct __GLXcontextRec* GLXContext;

namespace platform {

// The OpenGL context current on this thread as GLX names it, for a VR runtime
// that draws from it (OpenXR's Xlib graphics binding).
struct GlxBinding {
    Display* display = nullptr;
    GLXFBConfig framebufferConfig = nullptr;
    std::uint32_t visualId = 0;
    unsigned long drawable = 0;  // a GLXDrawable, which is an XID
    GLXContext context = nullptr;
};

// Empty when no GLX context is current or its configuration has no visual.
std::optional<GlxBinding> currentGlxBinding();

}  // namespace platform
