// The two kinds of image a watch is made of.
#pragma once

#include <string>

#include "raster.h"

// Faces lie on the 256 x 256 watch canvas with their bottom-left corner one
// pixel right of the canvas's corner, so a face 254 pixels wide is centred on
// the canvas centre, where the hands turn, and nothing of it is cut off.
Raster makeFace();
// A face with a polished steel case drawn on it: its shadow, rim and bezel
// around a dial of radius 115 about the centre.
Raster makeSteelCasedFace();

// A hand drawn pointing straight up at twelve o'clock, as the watch turns it.
// The image has room for `reach` pixels above the pivot, `tail` below and
// `halfWidth` to either side, plus a margin for the hand's shadow.
class HandImage {
public:
  HandImage(int reach, int tail, int halfWidth);

  Raster& raster() { return raster_; }
  // The point `side` pixels right of the hand's axis and `distance` pixels
  // from the pivot towards the tip (negative towards the tail).
  Vec2 at(float side, float distance) const { return pivot_ + Vec2{side, -distance}; }

  // Writes the PNG and prints the pivot as the config's "center" value:
  // image pixels from the bottom-left corner, y upwards.
  bool save(const std::string& path) const;

private:
  Raster raster_;
  // On a pixel corner, as the canvas centre is.
  Vec2 pivot_;
};
