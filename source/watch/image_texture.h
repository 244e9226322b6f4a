#pragma once

#include <cstddef>

#include <GL/glew.h>

// Images larger than this on either side are refused before decoding: a
// watch canvas is 256 pixels wide, and a forged header must not make the
// decoder ask for gigabytes.
constexpr int maxImageSide = 4096;

// Decodes an encoded image (anything stb_image reads) into a new RGBA8 texture,
// upright (no flip), clamped to its edges, linearly filtered, without mipmaps.
// On success writes the texture name and the size where places are given and
// leaves the texture bound; on failure writes nothing and makes no GL object.
bool uploadImageTexture(const unsigned char* bytes, std::size_t length, GLuint* texture,
                        int* width, int* height);
