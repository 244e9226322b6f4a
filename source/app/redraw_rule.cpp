#include "app/redraw_rule.h"

#include "config/settings.h"

bool shouldRedraw(const Settings& settings, bool watchSeen, const std::tm& now,
                  const std::optional<std::tm>& lastDrawnTime) {
    if (!watchSeen) return false;
    return settings.needsRedraw || !lastDrawnTime || now.tm_sec != lastDrawnTime->tm_sec;
}
