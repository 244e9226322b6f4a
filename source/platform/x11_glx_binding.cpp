#include "platform/x11_glx_binding.h"

#include <GL/glx.h>
#include <X11/Xlib.h>

namespace platform {

std::optional<GlxBinding> currentGlxBinding() {
    GlxBinding binding;
    binding.display = glXGetCurrentDisplay();
    binding.context = glXGetCurrentContext();
    binding.drawable = glXGetCurrentDrawable();
    if (!binding.display || !binding.context) return std::nullopt;

    // The context knows its configuration only by id.
    int configId = 0;
    if (glXQueryContext(binding.display, binding.context, GLX_FBCONFIG_ID, &configId) != Success)
        return std::nullopt;
    const int attributes[] = {GLX_FBCONFIG_ID, configId, None};
    int count = 0;
    GLXFBConfig* configs =
        glXChooseFBConfig(binding.display, DefaultScreen(binding.display), attributes, &count);
    if (!configs) return std::nullopt;
    if (count > 0) binding.framebufferConfig = configs[0];
    XFree(configs);

    int visualId = 0;
    if (!binding.framebufferConfig ||
        glXGetFBConfigAttrib(binding.display, binding.framebufferConfig, GLX_VISUAL_ID,
                             &visualId) != Success ||
        visualId == 0)
        return std::nullopt;
    binding.visualId = static_cast<std::uint32_t>(visualId);
    return binding;
}

}  // namespace platform
