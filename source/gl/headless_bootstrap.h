#pragma once

// Makes a current OpenGL 4.3 core context without any display server and
// loads the GL entry points. False when either step fails; nothing is
// logged and the process goes on.
bool bootstrapHeadlessGlContext();
