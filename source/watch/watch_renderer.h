#pragma once

#include <ctime>

#include "watch/matrix.h"
#include "watch/watch.h"
#include "watch/watch_readings.h"

struct Settings;

// Draws the watch into the bound 256 x 256 target, which the caller has
// cleared; layers lie back to front, each 0.01 nearer than the one before,
// from a depth of 0.99.
void drawWatch(const Watch& watch, const WatchReadings& readings, const Settings& settings);

// Radians clockwise from twelve o'clock. Hour and minute hands move with every
// second; the second hand steps once a second. Unbound hands stand at 0.
GLfloat handAngle(HandBinding bind, const std::tm& time);

// Puts the hand's pivot on the canvas centre, turned by the angle, at the depth.
Matrix4 handModelMatrix(const WatchElement& hand, GLfloat angle, GLfloat depth);

// Whether any of the watch's hands or texts shows a battery.
bool showsBatteries(const Watch& watch);

// Where a battery hand points for the charge, which is held to 0 to 1.
GLfloat gaugeAngle(const GaugeArc& arc, float charge);

// A battery hand whose device shows no charge is left out.
void drawHand(const Watch& watch, const WatchElement& hand, const WatchReadings& readings,
              GLfloat depth);
