#pragma once

#include <GL/glew.h>

#include "watch/image_decode.h"

// A new RGBA8 texture of a decoded image, its first row the image's first
// (no flip), clamped to its edges, linearly filtered, without mipmaps; left
// bound.
GLuint uploadDecodedImage(const DecodedImage& image);
