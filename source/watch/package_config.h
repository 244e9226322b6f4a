#pragma once

#include <string>

#include "config/config_text.h"
#include "packages/file_provider.h"

// A package's "config" parsed; an empty config when the package has none.
ConfigFile readPackageConfig(FileProvider& package);

// What a package calls its watch: the name and description of its last
// ':watch' section, either empty when that section lacks the key.
struct WatchTitle {
    std::string name;
    std::string description;
};

WatchTitle readWatchTitle(const ConfigFile& config);
