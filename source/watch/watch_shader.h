#pragma once

#include "watch/watch.h"

// Compiles and links a watch's own GL program. Compile and link logs go to
// the debugger output unchanged; a failed step leaves the later names 0.
WatchShader buildWatchShader();
