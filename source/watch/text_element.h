#pragma once

#include <ctime>

#include <GL/glew.h>

#include "watch/watch.h"

// Renders the element's time format for the local time into its texture and
// draws it over the whole canvas at the depth.
void drawText(const Watch& watch, const WatchElement& element, const std::tm& time, GLfloat depth);
