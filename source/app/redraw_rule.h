#pragma once

#include <ctime>

struct Settings;

// The watch is drawn again when asked to, or, while it can be seen (offline,
// or in VR while its image is needed), when the clock's second has moved on
// since the last drawing.
bool shouldRedraw(const Settings& settings, bool watchImageNeeded, const std::tm& now,
                  const std::tm& lastDrawnTime);
