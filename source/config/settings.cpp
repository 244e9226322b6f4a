#include "config/settings.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "config/config_text.h"
#include "platform/file_io.h"

namespace {

constexpr std::pair<WatchVisibility, const char*> visibilityNames[] = {
    {WatchVisibility::Always, "always"},
    {WatchVisibility::WhenLookedAt, "whenLookedAt"},
    {WatchVisibility::Off, "off"},
};

WatchVisibility visibilityNamed(const std::string& name) {
    for (const auto& [visibility, visibilityName] : visibilityNames)
        if (name == visibilityName) return visibility;
    return WatchVisibility::Always;
}

const char* nameOf(WatchVisibility visibility) {
    for (const auto& [named, name] : visibilityNames)
        if (named == visibility) return name;
    return "always";
}

// The whole value as a number from low to high, or the fallback. Numbers are
// read and written without the locale, so the file means the same everywhere.
float numberWithin(const ConfigSection& keys, const std::string& key, float low, float high,
                   float fallback) {
    const std::string text = keys.get(key, "");
    float value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !(value >= low && value <= high))
        return fallback;
    return value;
}

constexpr std::string_view ownKeys[] = {
    "watchOnRightHand", "initialWatchName",     "watchVisibility",         "watchWidthCm",
    "watchOffsetCm",    "watchTiltDegrees",     "notifications",           "notificationsFromDesktop",
    "notificationsFromXsOverlay", "notificationsFromOvrToolkit"};

// A switch that is on unless its key says so: the default wins over a
// value that cannot be read.
bool switchedOn(const ConfigSection& keys, const std::string& key, const char* offValue) {
    return keys.get(key, "") != offValue;
}

// The file's lines without the line ends, a CR before the LF included.
std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t lineFeed = text.find('\n');
        std::string_view line = text.substr(0, lineFeed);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        text.remove_prefix(lineFeed == std::string_view::npos ? text.size() : lineFeed + 1);
    }
    return lines;
}

// The key of a line before the first section as the config text reads it;
// every line after a section line is left to others.
bool isOwnKeyLine(std::string_view line, bool inFirstSection) {
    if (!inFirstSection) return false;
    const std::string_view key = trimBlanks(line.substr(0, line.find('=')));
    return std::find(std::begin(ownKeys), std::end(ownKeys), key) != std::end(ownKeys);
}

std::string numberText(float value) {
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

}  // namespace

bool NotificationChoices::operator==(const NotificationChoices& other) const {
    return shown == other.shown && fromDesktop == other.fromDesktop &&
           fromXsOverlay == other.fromXsOverlay && fromOvrToolkit == other.fromOvrToolkit;
}

void Settings::load(const std::string& path) {
    std::optional<std::vector<char>> bytes = platform::readFileBytes(path);
    if (!bytes) return;
    std::string text;
    foreignLines.clear();
    bool inFirstSection = true;
    for (std::string_view line : linesOf(std::string_view(bytes->data(), bytes->size()))) {
        (text += line) += '\n';
        const std::string_view trimmed = trimBlanks(line);
        if (trimmed.empty()) continue;
        inFirstSection &= trimmed.front() != ':';
        if (!isOwnKeyLine(trimmed, inFirstSection)) foreignLines.emplace_back(line);
    }
    const ConfigFile config = parseConfig(text.data(), text.data() + text.size());
    const ConfigSection& keys = config.sections[0];
    watchOnRightHand = parseBool(keys.get("watchOnRightHand", "false"));
    initialWatchName = keys.get("initialWatchName", "");
    watchVisibility = visibilityNamed(keys.get("watchVisibility", ""));
    const WristPlacement standard;
    placement.widthCm = numberWithin(keys, "watchWidthCm", minWatchWidthCm, maxWatchWidthCm,
                                     standard.widthCm);
    placement.offsetCm = numberWithin(keys, "watchOffsetCm", -maxWatchOffsetCm, maxWatchOffsetCm,
                                      standard.offsetCm);
    placement.tiltDegrees = numberWithin(keys, "watchTiltDegrees", -maxWatchTiltDegrees,
                                         maxWatchTiltDegrees, standard.tiltDegrees);
    notifications.shown = switchedOn(keys, "notifications", "off");
    notifications.fromDesktop = switchedOn(keys, "notificationsFromDesktop", "false");
    notifications.fromXsOverlay = switchedOn(keys, "notificationsFromXsOverlay", "false");
    notifications.fromOvrToolkit = switchedOn(keys, "notificationsFromOvrToolkit", "false");
}

// The keys after the first two are written only when they differ from their
// defaults, so that a user who never chose them keeps the file as it was.
bool Settings::save(const std::string& path) const {
    std::string text = std::string("watchOnRightHand=") + (watchOnRightHand ? "true" : "false") + "\n" +
                       "initialWatchName=" + initialWatchName + "\n";
    auto addChosen = [&text](const char* key, const std::string& value, bool isDefault) {
        if (!isDefault) text += std::string(key) + "=" + value + "\n";
    };
    const WristPlacement standard;
    addChosen("watchVisibility", nameOf(watchVisibility),
              watchVisibility == WatchVisibility::Always);
    addChosen("watchWidthCm", numberText(placement.widthCm), placement.widthCm == standard.widthCm);
    addChosen("watchOffsetCm", numberText(placement.offsetCm),
              placement.offsetCm == standard.offsetCm);
    addChosen("watchTiltDegrees", numberText(placement.tiltDegrees),
              placement.tiltDegrees == standard.tiltDegrees);
    addChosen("notifications", "off", notifications.shown);
    addChosen("notificationsFromDesktop", "false", notifications.fromDesktop);
    addChosen("notificationsFromXsOverlay", "false", notifications.fromXsOverlay);
    addChosen("notificationsFromOvrToolkit", "false", notifications.fromOvrToolkit);
    for (const std::string& line : foreignLines) text += line + "\n";
    return platform::replaceFile(path, text);
}
