#include "watch/battery_text.h"

#include <algorithm>
#include <cmath>

namespace {

int wholePercent(float charge) {
    // A runtime may report a little past either end, or no number at all.
    if (!(charge > 0.0f)) return 0;
    return static_cast<int>(std::lround(std::min(charge, 1.0f) * 100.0f));
}

// What may follow a '%': the charge, the charging mark, a percent sign.
bool isBatteryConversion(char c) { return c == 'c' || c == '+' || c == '%'; }

}  // namespace

std::string formatBattery(const std::string& format, const BatteryStatus& battery,
                          const std::string& chargingMark) {
    if (!battery.shown()) return {};
    std::string text;
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char next = i + 1 < format.size() ? format[i + 1] : '\0';
        if (format[i] != '%' || !isBatteryConversion(next)) {
            text += format[i];
            continue;
        }
        if (next == 'c') text += std::to_string(wholePercent(battery.charge));
        else if (next == '+') text += battery.charging ? chargingMark : "";
        else text += '%';
        ++i;
    }
    return text;
}

std::vector<std::string> unknownBatteryConversions(const std::string& format) {
    std::vector<std::string> unknown;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') continue;
        if (i + 1 < format.size() && isBatteryConversion(format[i + 1])) ++i;
        else unknown.push_back(format.substr(i, 2));
    }
    return unknown;
}
