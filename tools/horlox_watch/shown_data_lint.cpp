#include "horlox_watch/shown_data_lint.h"

#include "watch/config_values.h"
#include "watch/time_zone.h"

namespace {

void pointless(const ConfigSection& section, const std::string& key, const std::string& because,
               std::vector<Finding>& findings) {
    if (section.get(key))
        findings.push_back(
            {Severity::Warning, lineOfKey(section, key), quote(key) + " is ignored: " + because});
}

}  // namespace

bool showsBattery(const ConfigSection& section) {
    return parseBatteryDevice(section.get("battery", "")) != BatteryDevice::None;
}

void lintShownData(const ConfigSection& section, std::vector<Finding>& findings) {
    const std::optional<std::string> battery = section.get("battery");
    if (battery && !showsBattery(section))
        findings.push_back({Severity::Error, lineOfKey(section, "battery"),
                            "battery " + quote(*battery) +
                                " names no device (left, right or hmd); the element shows the "
                                "time"});
    const std::optional<std::string> zone = section.get("zone");
    if (zone && !findTimeZone(*zone))
        findings.push_back({Severity::Error, lineOfKey(section, "zone"),
                            "time zone " + quote(*zone) +
                                " is not in the system's tz database; the element shows local "
                                "time"});
    const bool isHand = section.name == "hand";
    const std::optional<std::string> arc = section.get("arc");
    if (arc && !parseGaugeArc(*arc))
        findings.push_back({Severity::Error, lineOfKey(section, "arc"),
                            "arc " + quote(*arc) +
                                " is not EMPTY,FULL in degrees, apart by more than 0 and at most "
                                "360; the hand turns from -90 to 90"});

    if (showsBattery(section)) {
        pointless(section, "zone", "the element shows a battery", findings);
        if (isHand) pointless(section, "bind", "the hand shows a battery", findings);
    } else {
        if (isHand) pointless(section, "arc", "the hand shows no battery", findings);
        else pointless(section, "charging", "the text shows no battery", findings);
    }
}
