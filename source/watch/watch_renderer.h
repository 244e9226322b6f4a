#pragma once

#include <ctime>

#include "watch/matrix.h"
#include "watch/watch.h"

struct Settings;

// Draws the watch for the local time into the bound 256 x 256 target, which
// the caller has cleared; layers lie back to front, each 0.01 nearer than the
// one before, from a depth of 0.99.
void drawWatch(const Watch& watch, const std::tm& time, const Settings& settings);

// Radians clockwise from twelve o'clock. Hour and minute hands move with every
// second; the second hand steps once a second. Unbound hands stand at 0.
GLfloat handAngle(HandBinding bind, const std::tm& time);

// Puts the hand's pivot on the canvas centre, turned by the angle, at the depth.
Matrix4 handModelMatrix(const WatchElement& hand, GLfloat angle, GLfloat depth);

void drawHand(const Watch& watch, const WatchElement& hand, const std::tm& time, GLfloat depth);
