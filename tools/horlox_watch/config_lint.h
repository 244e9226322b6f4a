#pragma once

#include <vector>

#include "config/config_text.h"
#include "horlox_watch/finding.h"

// What a package's parsed "config" shows on its own, before any file is
// read: sections and keys that the program ignores, repeated keys and
// ':watch' sections, values with leading blanks or carriage returns, a watch
// without a name, hand bindings that match no hand and texts that are too
// long. In line order.
std::vector<Finding> lintConfig(const ConfigFile& config);

// The section whose name and description the watch ends up with: the last
// ':watch'. Null when there is none.
const ConfigSection* lastWatchSection(const ConfigFile& config);
