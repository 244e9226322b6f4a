#pragma once

#include "watch/matrix.h"
#include "watch/watch.h"

// Draws one element's quad with its texture, moved by the model matrix and
// mirrored left to right when asked. The watch's program and vertex array
// must be in use.
void drawElement(const Watch& watch, const WatchElement& element, const Matrix4& model,
                 bool mirror);
