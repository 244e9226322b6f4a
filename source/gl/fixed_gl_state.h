#pragma once

// The GL state that holds for the whole run: depth test, alpha blending and
// a transparent black clear colour. The watch and menu drawing rely on it.
void setFixedGlState();
