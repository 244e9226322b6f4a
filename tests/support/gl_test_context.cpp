#include "support/gl_test_context.h"

#include "gl/context_bootstrap.h"

void ensureGlContext() {
    static bool ready = (bootstrapGlContext(false), true);
    (void)ready;
}
