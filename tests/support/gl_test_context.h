#pragma once

// Makes the program's own hidden window and GL 4.3 core context current, once
// per test process. Needs an X display (the tests run under xvfb-run).
void ensureGlContext();
