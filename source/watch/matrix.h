#pragma once

#include <array>

#include <GL/glew.h>

// 4 x 4 matrices of 32-bit floats in GL's column-major order.
using Matrix4 = std::array<GLfloat, 16>;

Matrix4 translation(GLfloat x, GLfloat y, GLfloat z);

// Turns by the angle about the axis (0, 0, -1): clockwise as seen on the
// canvas, x to the right and y up.
Matrix4 clockwiseRotation(GLfloat angle);

Matrix4 operator*(const Matrix4& left, const Matrix4& right);
