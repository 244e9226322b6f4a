#pragma once

#include <ctime>
#include <optional>

struct Settings;

// While the watch can be seen it is drawn again when asked to, when the
// clock's second has moved on since the last drawing, or when nothing has
// been drawn since it came into view (`lastDrawnTime` empty), so that it
// shows at once instead of at the clock's next second. A watch nobody can
// see is not drawn; a request waits until it can be seen.
bool shouldRedraw(const Settings& settings, bool watchSeen, const std::tm& now,
                  const std::optional<std::tm>& lastDrawnTime);
