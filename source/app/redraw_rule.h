#pragma once

#include <ctime>
#include <optional>

struct Settings;

// Offline the watch is always in view; in VR while its image is needed.
bool watchCanBeSeen(const Settings& settings, bool watchImageNeeded);

// The watch is drawn again when asked to, or, while it can be seen, when the
// clock's second has moved on since the last drawing, or when nothing has
// been drawn since it came into view (`lastDrawnTime` empty), so that it
// shows at once instead of at the clock's next second.
bool shouldRedraw(const Settings& settings, bool watchImageNeeded, const std::tm& now,
                  const std::optional<std::tm>& lastDrawnTime);
