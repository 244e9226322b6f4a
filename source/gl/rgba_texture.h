#pragma once

#include <cstdint>

#include <GL/glew.h>

// Binds the texture and filters it as asked (GL_LINEAR or GL_NEAREST),
// both minifying and magnifying, without mipmaps; leaves it bound.
void filterTexture(GLuint texture, GLint filter);

// Gives the texture an RGBA8 image of width x height pixels, rows in the
// order given, filtered as asked (GL_LINEAR or GL_NEAREST) without mipmaps;
// leaves it bound.
void uploadRgbaTexture(GLuint texture, int width, int height, const std::uint8_t* rgba, GLint filter = GL_LINEAR);
