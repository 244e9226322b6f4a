#include "app/redraw_rule.h"

#include "config/settings.h"

bool shouldRedraw(const Settings& settings, bool watchControllerTracked, const std::tm& now,
                  const std::tm& lastDrawnTime) {
    if (settings.needsRedraw) return true;
    bool watchCanBeSeen = settings.offline || watchControllerTracked;
    return watchCanBeSeen && now.tm_sec != lastDrawnTime.tm_sec;
}
