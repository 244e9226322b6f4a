#include "config/settings.h"

#include <optional>
#include <vector>

#include "config/config_text.h"
#include "platform/file_io.h"

void Settings::load(const std::string& path) {
    std::optional<std::vector<char>> bytes = platform::readFileBytes(path);
    if (!bytes) return;
    ConfigFile config = parseConfig(bytes->data(), bytes->data() + bytes->size());
    const ConfigSection& keys = config.sections[0];
    watchOnRightHand = parseBool(keys.get("watchOnRightHand", "false"));
    initialWatchName = keys.get("initialWatchName", "");
}

bool Settings::save(const std::string& path) const {
    std::string text = std::string("watchOnRightHand=") + (watchOnRightHand ? "true" : "false") + "\n" +
                       "initialWatchName=" + initialWatchName + "\n";
    return platform::replaceFile(path, text);
}
