#pragma once

#include <openxr/openxr.h>

#include <cstdint>

#include "vr/openxr/quad_image.h"

// The pictures of the laser, made once: a round white pointer with a dark
// rim, which shows on the menu's light and dark parts alike, and the ray's
// pale blue. Premultiplied, as the overlays' images are. The GL state the
// program relies on is left as it was.
XrResult drawLaserPictures(XrSession session, std::int64_t format, QuadCopier& copier,
                           QuadImage& pointer, QuadImage& ray);
