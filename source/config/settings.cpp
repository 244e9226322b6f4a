#include "config/settings.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "config/config_text.h"
#include "platform/file_io.h"
#include "platform/log.h"

namespace {

constexpr std::pair<WatchVisibility, const char*> visibilityNames[] = {
    {WatchVisibility::Always, "always"},
    {WatchVisibility::WhenLookedAt, "whenLookedAt"},
    {WatchVisibility::Off, "off"},
};

const char* nameOf(WatchVisibility visibility) {
    for (const auto& [named, name] : visibilityNames)
        if (named == visibility) return name;
    return "always";
}

std::string numberText(float value) {
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

// Reads the first section's values, saying in the log which it cannot take
// as they stand.
class SavedValues {
public:
    SavedValues(const ConfigSection& keys, const std::string& path) : keys(keys), path(path) {}

    std::string text(const std::string& key) const { return keys.get(key, ""); }

    // "true" or "false" (also "1" or "0", any case); another value counts as
    // its leading bytes say.
    bool truth(const std::string& key) const {
        const std::optional<std::string> value = keys.get(key);
        if (!value) return false;
        const bool meant = parseBool(*value);
        if (!isPlainBool(*value)) report(key, *value, "is not true or false", meant ? "true" : "false");
        return meant;
    }

    // A switch that is on unless its key holds the off word.
    bool switchedOn(const std::string& key, const char* onWord, const char* offWord) const {
        const std::optional<std::string> value = keys.get(key);
        if (!value) return true;
        const bool on = *value != offWord;
        if (on && *value != onWord) report(key, *value, std::string("is not ") + onWord + " or " + offWord, onWord);
        return on;
    }

    WatchVisibility visibility(const std::string& key) const {
        const std::optional<std::string> value = keys.get(key);
        if (!value) return WatchVisibility::Always;
        for (const auto& [visibility, name] : visibilityNames)
            if (*value == name) return visibility;
        report(key, *value, "is not always, whenLookedAt or off", "always");
        return WatchVisibility::Always;
    }

    // The whole value as a number, brought within low to high. Numbers are
    // read and written without the locale, so the file means the same everywhere.
    float number(const std::string& key, float low, float high, float fallback) const {
        const std::optional<std::string> text = keys.get(key);
        if (!text) return fallback;
        float value = 0;
        const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), value);
        if (error != std::errc() || end != text->data() + text->size() || !std::isfinite(value)) {
            report(key, *text, "is no number", numberText(fallback));
            return fallback;
        }
        const float kept = std::clamp(value, low, high);
        if (kept != value)
            report(key, *text, "is out of range (" + numberText(low) + " to " + numberText(high) + ")", numberText(kept));
        return kept;
    }

private:
    void report(const std::string& key, const std::string& value, const std::string& problem,
                const std::string& used) const {
        logMessage("%s: %s=%s %s; using %s", path.c_str(), key.c_str(), value.c_str(), problem.c_str(), used.c_str());
    }

    const ConfigSection& keys;
    const std::string& path;
};

constexpr std::string_view ownKeys[] = {
    "watchOnRightHand", "initialWatchName",     "watchVisibility",         "watchWidthCm",
    "watchOffsetCm",    "watchTiltDegrees",     "notifications",           "notificationsFromDesktop",
    "notificationsFromXsOverlay", "notificationsFromOvrToolkit"};

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

}  // namespace

bool NotificationChoices::operator==(const NotificationChoices& other) const {
    return shown == other.shown && fromDesktop == other.fromDesktop &&
           fromXsOverlay == other.fromXsOverlay && fromOvrToolkit == other.fromOvrToolkit;
}

void Settings::load(const std::string& path) {
    std::optional<std::vector<char>> bytes = platform::readFileBytes(path);
    if (!bytes) return;
    foreignLines.clear();
    bool inFirstSection = true;
    for (std::string_view line : linesOf(std::string_view(bytes->data(), bytes->size()))) {
        const std::string_view trimmed = trimBlanks(line);
        if (trimmed.empty()) continue;
        inFirstSection &= trimmed.front() != ':';
        if (!isOwnKeyLine(trimmed, inFirstSection)) foreignLines.emplace_back(line);
    }
    const ConfigFile config = parseConfig(bytes->data(), bytes->data() + bytes->size());
    const SavedValues saved(config.sections[0], path);
    watchOnRightHand = saved.truth("watchOnRightHand");
    initialWatchName = saved.text("initialWatchName");
    watchVisibility = saved.visibility("watchVisibility");
    const WristPlacement standard;
    placement.widthCm = saved.number("watchWidthCm", minWatchWidthCm, maxWatchWidthCm, standard.widthCm);
    placement.offsetCm = saved.number("watchOffsetCm", -maxWatchOffsetCm, maxWatchOffsetCm, standard.offsetCm);
    placement.tiltDegrees =
        saved.number("watchTiltDegrees", -maxWatchTiltDegrees, maxWatchTiltDegrees, standard.tiltDegrees);
    notifications.shown = saved.switchedOn("notifications", "on", "off");
    notifications.fromDesktop = saved.switchedOn("notificationsFromDesktop", "true", "false");
    notifications.fromXsOverlay = saved.switchedOn("notificationsFromXsOverlay", "true", "false");
    notifications.fromOvrToolkit = saved.switchedOn("notificationsFromOvrToolkit", "true", "false");
}

// The keys after the first two are written only when they differ from their
// defaults, so that a user who never chose them keeps the file as it was.
bool Settings::save(const std::string& path) {
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
    std::string whyNot;
    if (platform::replaceFile(path, text, &whyNot)) {
        saveFailure.clear();
        return true;
    }
    if (whyNot != saveFailure) logMessage("Your choices cannot be saved: %s", whyNot.c_str());
    saveFailure = whyNot;
    return false;
}
