#include "watch/matrix.h"

#include <cmath>

Matrix4 translation(GLfloat x, GLfloat y, GLfloat z) {
    return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1};
}

Matrix4 clockwiseRotation(GLfloat angle) {
    const GLfloat c = std::cos(angle);
    const GLfloat s = std::sin(angle);
    return {c, -s, 0, 0, s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
}

Matrix4 operator*(const Matrix4& left, const Matrix4& right) {
    Matrix4 product{};
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row) {
            GLfloat sum = 0;
            for (int k = 0; k < 4; ++k) sum += left[k * 4 + row] * right[column * 4 + k];
            product[column * 4 + row] = sum;
        }
    return product;
}
