#pragma once

#include <optional>
#include <vector>

#include "vr/openvr/openvr_api.h"

// An OpenGL texture's first level as the runtime finds it.
struct TextureImage {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> bottomUpRgba;  // empty unless asked for
};

// Looks at the texture an OpenGL Texture_t names, in the caller's current GL
// context, and reads its pixels when asked. None when it names no texture of
// that context or one without a size. The caller's texture binding is kept.
std::optional<TextureImage> readTexture(const Texture_t* texture, bool withPixels);
