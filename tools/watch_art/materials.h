// The finishes our watches share.
#pragma once

#include "paint.h"

extern const Colour brightSteel, shadedSteel;

// Polished steel lit from the top left across a part of `radius` pixels
// around `centre`. Swapping the colours gives a recess facing the light.
Paint steel(Vec2 centre, float radius, Colour lit = brightSteel, Colour shaded = shadedSteel);

// A navy dial, darker towards its rim at `radius`, with two faint wedges of
// light that make the brushed sunburst.
Paint sunburst(Vec2 centre, float radius);
