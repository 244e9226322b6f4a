#pragma once

struct Settings;

// The menu's rows for the wrist: when the watch shows (always, when looked
// at, or off) and its size, offset along the forearm and tilt, with a button
// back to the default placement. A slider's change applies while it moves and
// is saved when it is let go; the other choices are saved at once. Call
// inside the menu's ImGui window.
void drawWristControls(Settings& settings);
