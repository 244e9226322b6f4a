#include "vr/watch_placement.h"

#include <cmath>

namespace {

struct Matrix4 {
    float m[4][4];
};

Matrix4 operator*(const Matrix4& a, const Matrix4& b) {
    Matrix4 product{};
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            for (int k = 0; k < 4; ++k) product.m[row][column] += a.m[row][k] * b.m[k][column];
    return product;
}

// Sine and cosine of the single-precision angle, taken in double precision
// and narrowed back.
float sineOf(float angle) { return static_cast<float>(std::sin(static_cast<double>(angle))); }
float cosineOf(float angle) { return static_cast<float>(std::cos(static_cast<double>(angle))); }

Matrix4 turnAboutY(float a) {
    return {{{cosineOf(a), 0, -sineOf(a), 0}, {0, 1, 0, 0}, {sineOf(a), 0, cosineOf(a), 0},
             {0, 0, 0, 1}}};
}

Matrix4 tiltAboutX(float b) {
    return {{{1, 0, 0, 0}, {0, cosineOf(b), -sineOf(b), 0}, {0, sineOf(b), cosineOf(b), 0},
             {0, 0, 0, 1}}};
}

Matrix4 offset(float x, float y, float z) {
    return {{{1, 0, 0, x}, {0, 1, 0, y}, {0, 0, 1, z}, {0, 0, 0, 1}}};
}

}  // namespace

Pose watchPlacement(bool rightHand, const WristPlacement& fit) {
    const float quarterTurn = 1.57079625f;
    const float degree = 0.0174532925f;
    const Matrix4 r1 = turnAboutY(rightHand ? -quarterTurn : quarterTurn);
    const Matrix4 r2 = tiltAboutX((rightHand ? 2.09439516f : 2.35619450f) + fit.tiltDegrees * degree);
    const Matrix4 t = offset(rightHand ? 0.025f : -0.025f, 0.07f, 0.18f + fit.offsetCm / 100);
    const Matrix4 m = t * r2 * r1;

    PoseMatrix placement;
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 4; ++column) placement.m[row][column] = m.m[row][column];
    return poseFromMatrix(placement);
}

float watchWidthInMeters(const WristPlacement& fit) { return fit.widthCm / 100; }

Pose toastPlacement(bool rightHand, const WristPlacement& fit, float height) {
    Pose placement = watchPlacement(rightHand, fit);
    const Vector3 up = rotated(placement.orientation, {0, watchWidthInMeters(fit) / 2 + 0.005f + height / 2, 0});
    placement.position = {placement.position.x + up.x, placement.position.y + up.y, placement.position.z + up.z};
    return placement;
}
