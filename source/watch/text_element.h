#pragma once

#include <string>

#include <GL/glew.h>

#include "watch/watch.h"
#include "watch/watch_readings.h"

// What the element's format makes of the readings: its battery, or the time
// in its zone or the local one.
std::string shownText(const WatchElement& element, const WatchReadings& readings);

// Renders the element's text for the readings into its texture, unless the
// texture holds that text already, and draws it on the canvas at the depth.
void drawText(const Watch& watch, const WatchElement& element, const WatchReadings& readings,
              GLfloat depth);
