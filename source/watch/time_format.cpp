#include "watch/time_format.h"

#include <cstring>
#include <vector>

#include "platform/strftime_conversions.h"

namespace {

bool isOneOf(char c, const char* set) { return c != '\0' && std::strchr(set, c) != nullptr; }

// Length of the conversion that starts after a '%', or 0 when the C library
// does not know it.
size_t conversionLength(const std::string& format, size_t at) {
    if (at >= format.size()) return 0;
    static const platform::StrftimeConversions known = platform::strftimeConversions();
    const char c = format[at];
    if (isOneOf(c, known.plain)) return 1;
    if (at + 1 < format.size() && ((c == 'E' && isOneOf(format[at + 1], known.withE)) ||
                                   (c == 'O' && isOneOf(format[at + 1], known.withO))))
        return 2;
    return 0;
}

// The format with every unknown conversion's '%' doubled, so it prints as is.
std::string escapeUnknownConversions(const std::string& format) {
    std::string safe;
    for (size_t i = 0; i < format.size(); ++i) {
        safe += format[i];
        if (format[i] != '%') continue;
        const size_t length = conversionLength(format, i + 1);
        if (length == 0) {
            safe += '%';
        } else {
            safe.append(format, i + 1, length);
            i += length;
        }
    }
    return safe;
}

}  // namespace

std::string formatTime(const std::string& format, const std::tm& time) {
    const std::string safeFormat = escapeUnknownConversions(format);
    if (safeFormat.empty()) return {};
    // strftime gives 0 both for "no room" and for an empty result; a roomy
    // buffer tells them apart, since a short format cannot expand that far.
    std::vector<char> buffer(64 * safeFormat.size() + 256);
    const size_t length = std::strftime(buffer.data(), buffer.size(), safeFormat.c_str(), &time);
    return std::string(buffer.data(), length);
}
