#pragma once

#include <cstddef>

#include <GL/glew.h>

#include "watch/image_decode.h"

// Decodes an encoded image (see decodeImage) into a new RGBA8 texture,
// upright (no flip), clamped to its edges, linearly filtered, without mipmaps.
// On success writes the texture name and the size where places are given and
// leaves the texture bound; on failure writes nothing and makes no GL object.
bool uploadImageTexture(const unsigned char* bytes, std::size_t length, GLuint* texture,
                        int* width, int* height);

// The texture of an image already decoded, made the same way; left bound.
GLuint uploadDecodedImage(const DecodedImage& image);
