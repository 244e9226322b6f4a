#include "horlox_watch/value_lint.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "watch/battery_text.h"
#include "watch/config_values.h"
#include "watch/time_format.h"

namespace {

// Where strtof or strtol stop reading a number that starts at the text, or
// null when none starts there.
template <typename Read>
const char* numberEnd(const char* text, Read read) {
    char* end = nullptr;
    read(text, &end);
    return end == text ? nullptr : end;
}

const char* floatEnd(const char* text) {
    return numberEnd(text, [](const char* at, char** end) { std::strtof(at, end); });
}

const char* integerEnd(const char* text) {
    return numberEnd(text, [](const char* at, char** end) { std::strtol(at, end, 10); });
}

// "X,Y": two numbers, each read to its end, one comma apart.
template <typename End>
bool isPair(const std::string& value, End endOf) {
    const char* first = endOf(value.c_str());
    if (!first || *first != ',') return false;
    const char* second = endOf(first + 1);
    return second && *second == '\0';
}

void lintSwitch(const ConfigSection& section, const std::string& key, std::vector<Finding>& findings) {
    const std::optional<std::string> value = section.get(key);
    if (!value || isPlainBool(*value)) return;
    findings.push_back({Severity::Error, lineOfKey(section, key),
                        quote(key) + " value " + quote(*value) +
                            " is not true or false (1 or 0); the program reads it as " +
                            (parseBool(*value) ? "true" : "false")});
}

void lintCenter(const ConfigSection& section, bool integers, std::vector<Finding>& findings) {
    const std::optional<std::string> value = section.get("center");
    if (!value || (integers ? isPair(*value, integerEnd) : isPair(*value, floatEnd))) return;
    findings.push_back({Severity::Error, lineOfKey(section, "center"),
                        "center " + quote(*value) + " is not X,Y in " + (integers ? "whole pixels" : "pixels") +
                            "; the program reads only the numbers at its start"});
}

void lintMovement(const ConfigSection& hand, std::vector<Finding>& findings) {
    const std::optional<std::string> movement = hand.get("movement");
    if (movement && !parseMovement(*movement))
        findings.push_back({Severity::Error, lineOfKey(hand, "movement"),
                            "movement " + quote(*movement) + " is not CONTINUOUS; the hand moves in steps"});
}

void lintFontSize(const ConfigSection& text, std::vector<Finding>& findings) {
    const std::optional<std::string> size = text.get("fontsize");
    if (!size) {
        findings.push_back({Severity::Error, text.line, "':text' has no 'fontsize'; the text is drawn 1 pixel high"});
        return;
    }
    const std::string points(trimBlanks(*size));
    const char* end = floatEnd(points.c_str());
    const std::uint32_t pixels = fontPixelSize(*size);
    if (end && *end == '\0' && pixels > 0) return;
    findings.push_back({Severity::Error, lineOfKey(text, "fontsize"),
                        "fontsize " + quote(*size) + " is no size in points; the text is drawn " +
                            std::to_string(std::max<std::uint32_t>(pixels, 1)) +
                            (pixels > 1 ? " pixels high" : " pixel high")});
}

// A battery text knows "%c", "%+" and "%%"; a time text what strftime knows.
void lintConversions(const ConfigSection& text, std::vector<Finding>& findings) {
    const std::string format = boundedText(text.get("text", ""));
    const std::vector<std::string> unknown = parseBatteryDevice(text.get("battery", "")) == BatteryDevice::None
                                                  ? unknownConversions(format)
                                                  : unknownBatteryConversions(format);
    if (unknown.empty()) return;
    std::string listed;
    for (const std::string& conversion : unknown) listed += (listed.empty() ? "" : ", ") + quote(conversion);
    findings.push_back({Severity::Error, lineOfKey(text, "text"),
                        "text " + quote(format) + " holds " + listed +
                            ", which the program does not know and writes as it stands"});
}

}  // namespace

void lintValues(const ConfigSection& section, std::vector<Finding>& findings) {
    if (section.name == "face") {
        lintSwitch(section, "mirrorOnRight", findings);
    } else if (section.name == "hand") {
        lintMovement(section, findings);
        lintCenter(section, false, findings);
    } else if (section.name == "text") {
        lintFontSize(section, findings);
        lintCenter(section, true, findings);
        lintConversions(section, findings);
    }
}
