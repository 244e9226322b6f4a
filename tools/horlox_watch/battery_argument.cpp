#include "horlox_watch/battery_argument.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <set>

namespace {

BatteryStatus* deviceNamed(const std::string& name, DeviceBatteries& batteries) {
    if (name == "left") return &batteries.leftHand;
    if (name == "right") return &batteries.rightHand;
    if (name == "hmd") return &batteries.hmd;
    return nullptr;
}

std::optional<BatteryStatus> readStatus(std::string value) {
    if (value == "absent") return BatteryStatus{};
    BatteryStatus battery{true, true, 0.0f, false};
    const std::string chargingMark = "+charging";
    if (value.size() > chargingMark.size() &&
        value.compare(value.size() - chargingMark.size(), chargingMark.size(), chargingMark) == 0) {
        battery.charging = true;
        value.resize(value.size() - chargingMark.size());
    }
    if (value.empty() || value.find_first_not_of("0123456789.") != std::string::npos)
        return std::nullopt;
    char* end = nullptr;
    errno = 0;
    battery.charge = std::strtof(value.c_str(), &end);
    if (errno != 0 || *end != '\0' || !(battery.charge <= 1.0f)) return std::nullopt;
    return battery;
}

}  // namespace

std::optional<DeviceBatteries> parseBatteryArgument(const std::string& text, std::string& error) {
    DeviceBatteries batteries;
    std::set<std::string> named;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(',', start);
        if (end == std::string::npos) end = text.size();
        const std::string item = text.substr(start, end - start);
        start = end + 1;

        const std::size_t equals = item.find('=');
        const std::string name = item.substr(0, equals);
        BatteryStatus* device = deviceNamed(name, batteries);
        if (!device || equals == std::string::npos) {
            error = "--battery wants DEVICE=VALUE items for left, right or hmd, not '" + item + "'";
            return std::nullopt;
        }
        const bool repeated = !named.insert(name).second;
        const std::optional<BatteryStatus> status = readStatus(item.substr(equals + 1));
        if (repeated || !status) {
            error = repeated ? "--battery names " + name + " twice"
                             : "--battery wants a charge from 0 to 1, with '+charging' while it "
                               "charges, or 'absent', not '" + item + "'";
            return std::nullopt;
        }
        *device = *status;
    }
    return batteries;
}
