#include "app/redraw_rule.h"

#include "config/settings.h"

bool watchCanBeSeen(const Settings& settings, bool watchImageNeeded) {
    return settings.offline || watchImageNeeded;
}

bool shouldRedraw(const Settings& settings, bool watchImageNeeded, const std::tm& now,
                  const std::optional<std::tm>& lastDrawnTime) {
    if (!watchCanBeSeen(settings, watchImageNeeded)) return false;
    return settings.needsRedraw || !lastDrawnTime || now.tm_sec != lastDrawnTime->tm_sec;
}
