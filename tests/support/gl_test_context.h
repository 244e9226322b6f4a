#pragma once

#include "gl/context_bootstrap.h"

// Makes the program's own hidden window and GL 4.3 core context current, once
// per test process. Needs an X display (the tests run under xvfb-run).
inline void ensureGlContext() {
    static const bool ready = (bootstrapGlContext(false), true);
    (void)ready;
}
