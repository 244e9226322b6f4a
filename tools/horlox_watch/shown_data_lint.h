#pragma once

#include <vector>

#include "config/config_text.h"
#include "horlox_watch/finding.h"

// What a ':hand' or ':text' section says it shows besides the local time:
// battery devices that do not exist, gauge arcs that cannot be drawn, time
// zones that the system's tz database lacks, and keys that the section's
// other keys make pointless.
void lintShownData(const ConfigSection& section, std::vector<Finding>& findings);

// Whether the section shows a battery, so that it needs no 'bind'.
bool showsBattery(const ConfigSection& section);
