#include "watch/package_config.h"

ConfigFile readPackageConfig(FileProvider& package) {
    const FileBytes* config = package.getFile("config");
    if (!config) return parseConfig(nullptr, nullptr);
    return parseConfig(config->data(), config->data() + config->size());
}

WatchTitle readWatchTitle(const ConfigFile& config) {
    WatchTitle title;
    for (const ConfigSection& section : config.sections) {
        if (section.name != "watch") continue;
        title.name = section.get("name", "");
        title.description = section.get("description", "");
    }
    return title;
}
