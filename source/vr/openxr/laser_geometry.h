#pragma once

#include <openxr/openxr.h>

#include <optional>

// Where a ray meets a quad, in the quad's own terms and in the room's.
struct QuadHit {
    // Fractions of the quad from its top-left corner, x right and y down, as
    // the menu reads its pointer.
    float x = 0, y = 0;
    XrVector3f point{};  // in the space both poses are given in
};

// The ray starts at its pose's origin and runs along its -z, as OpenXR's aim
// poses point. The quad lies in its pose's xy plane, centred on the origin,
// and shows its face towards +z: a ray from behind it, one along its plane
// and one that passes beside it meet nothing; its edges belong to it.
std::optional<QuadHit> rayMeetsQuad(const XrPosef& ray, const XrPosef& quad, XrExtent2Df size);

// A pose the distance in front of the head at the head's height, upright
// (turned about the vertical only) and facing the head, whichever way the
// head is tilted. For a head looking straight up or down, ahead is where
// the face turns to when the head comes level.
XrPosef uprightFacing(const XrPosef& head, float distance);

// The pose of a quad whose height runs from one point to the other, turned
// about that line to face the eye as far as it can.
XrPosef stripBetween(const XrVector3f& from, const XrVector3f& to, const XrVector3f& eye);
