#include "app/redraw_rule.h"

#include "config/settings.h"

bool watchCanBeSeen(const Settings& settings, bool watchControllerTracked) {
    return settings.offline || watchControllerTracked;
}

bool shouldRedraw(const Settings& settings, bool watchControllerTracked, const std::tm& now,
                  const std::optional<std::tm>& lastDrawnTime) {
    if (settings.needsRedraw) return true;
    return watchCanBeSeen(settings, watchControllerTracked) &&
           (!lastDrawnTime || now.tm_sec != lastDrawnTime->tm_sec);
}
