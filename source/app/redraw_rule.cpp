#include "app/redraw_rule.h"

#include "config/settings.h"

bool shouldRedraw(const Settings& settings, bool watchImageNeeded, const std::tm& now,
                  const std::tm& lastDrawnTime) {
    if (settings.needsRedraw) return true;
    bool watchCanBeSeen = settings.offline || watchImageNeeded;
    return watchCanBeSeen && now.tm_sec != lastDrawnTime.tm_sec;
}
