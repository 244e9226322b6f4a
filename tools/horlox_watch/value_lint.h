#pragma once

#include <vector>

#include "config/config_text.h"
#include "horlox_watch/finding.h"

// What the values of a ':face', ':hand' or ':text' section say against what
// their keys take: switches that are neither true nor false, bindings and
// movements the program reads otherwise than written, centres that are no
// pair of numbers, font sizes that draw the text one pixel high, and texts
// with conversions that the program writes out as they stand.
void lintValues(const ConfigSection& section, std::vector<Finding>& findings);
