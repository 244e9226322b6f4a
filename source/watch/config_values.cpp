#include "watch/config_values.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

std::string upperCased(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

bool startsWith(const std::string& text, const char* prefix) {
    return text.compare(0, std::strlen(prefix), prefix) == 0;
}

// strtol's result squeezed into 32 bits, saturating instead of wrapping.
std::int32_t toInt32(long value) {
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<std::int32_t>(value);
}

// Where the second number starts: one byte past the end of the first, if the
// first did not end the text.
const char* afterSeparator(const char* end) { return *end != '\0' ? end + 1 : nullptr; }

}  // namespace

HandBinding parseHandBinding(const std::string& value) {
    const std::string word = upperCased(value);
    if (startsWith(word, "HOUR")) return HandBinding::Hour;
    if (startsWith(word, "MINUTE")) return HandBinding::Minute;
    if (startsWith(word, "SECOND")) return HandBinding::Second;
    return HandBinding::None;
}

bool parseMovement(const std::string& value) { return upperCased(value) == "CONTINUOUS"; }

CanvasPoint parseHandCenter(const std::string& value) {
    CanvasPoint point;
    char* end = nullptr;
    point.x = std::strtof(value.c_str(), &end);
    if (const char* second = afterSeparator(end)) point.y = std::strtof(second, nullptr);
    return point;
}

PenOrigin parseTextCenter(const std::string& value) {
    PenOrigin origin;
    char* end = nullptr;
    origin.x = toInt32(std::strtol(value.c_str(), &end, 10));
    if (const char* second = afterSeparator(end)) origin.y = toInt32(std::strtol(second, nullptr, 10));
    return origin;
}

std::uint32_t fontPixelSize(const std::string& points) {
    // Both constants and the arithmetic are single precision on purpose: the
    // truncated result must match for every size.
    const float pixelsPerInch = 108.37333f;
    const float pixels = std::strtof(points.c_str(), nullptr) * pixelsPerInch / 72.0f;
    if (!(pixels > 0.0f)) return 0;  // negative, zero or not a number
    if (pixels >= 4294967296.0f) return UINT32_MAX;
    return static_cast<std::uint32_t>(pixels);
}

std::string boundedText(const std::string& value) {
    const std::string untilNul = value.c_str();
    return untilNul.substr(0, maxTextBytes);
}

BatteryDevice parseBatteryDevice(const std::string& value) {
    if (value == "left") return BatteryDevice::LeftHand;
    if (value == "right") return BatteryDevice::RightHand;
    if (value == "hmd") return BatteryDevice::Hmd;
    return BatteryDevice::None;
}

std::optional<GaugeArc> parseGaugeArc(const std::string& value) {
    const char* text = value.c_str();
    char* end = nullptr;
    const float empty = std::strtof(text, &end);
    if (end == text || *end != ',') return std::nullopt;
    const char* second = end + 1;
    const float full = std::strtof(second, &end);
    if (end == second || *end != '\0' || !std::isfinite(empty) || !std::isfinite(full))
        return std::nullopt;
    const float span = std::fabs(full - empty);
    if (!(span > 0.0f) || span > 360.0f) return std::nullopt;
    const float radiansPerDegree = 3.14159265f / 180.0f;
    return GaugeArc{empty * radiansPerDegree, full * radiansPerDegree};
}
