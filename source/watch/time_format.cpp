#include "watch/time_format.h"

#include <cstdio>
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

// Calls back with the position of every unknown conversion's '%'; the
// known ones are passed over whole, so "%%Q" holds none.
template <typename Visit>
void forEachUnknownConversion(const std::string& format, Visit visit) {
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') continue;
        const size_t length = conversionLength(format, i + 1);
        if (length == 0) visit(i);
        i += length;
    }
}

// The format with every unknown conversion's '%' doubled, so it prints as is.
std::string escapeUnknownConversions(const std::string& format) {
    std::string safe = format;
    size_t added = 0;
    forEachUnknownConversion(format, [&](size_t at) { safe.insert(at + added++, 1, '%'); });
    return safe;
}

// "+hhmm" or "-hhmm", as strftime's "%z" writes an offset.
std::string offsetText(long utcOffsetSeconds) {
    const long minutes = (utcOffsetSeconds < 0 ? -utcOffsetSeconds : utcOffsetSeconds) / 60;
    char text[16];
    std::snprintf(text, sizeof text, "%c%02ld%02ld", utcOffsetSeconds < 0 ? '-' : '+',
                  minutes / 60 % 100, minutes % 60);
    return text;
}

// Text that strftime copies as it is.
std::string literal(const std::string& text) {
    std::string escaped;
    for (char c : text) escaped += c == '%' ? "%%" : std::string(1, c);
    return escaped;
}

}  // namespace

std::string formatTimeInZone(const std::string& format, const std::tm& time,
                             const std::string& abbreviation, long utcOffsetSeconds) {
    std::string labelled;
    for (size_t i = 0; i < format.size(); ++i) {
        const size_t length = format[i] == '%' ? conversionLength(format, i + 1) : 0;
        if (length == 1 && format[i + 1] == 'Z') {
            labelled += literal(abbreviation);
        } else if (length == 1 && format[i + 1] == 'z') {
            labelled += offsetText(utcOffsetSeconds);
        } else {
            labelled.append(format, i, length + 1);
        }
        i += length;
    }
    return formatTime(labelled, time);
}

std::string formatTime(const std::string& format, const std::tm& time) {
    const std::string safeFormat = escapeUnknownConversions(format);
    if (safeFormat.empty()) return {};
    // strftime gives 0 both for "no room" and for an empty result; a roomy
    // buffer tells them apart, since a short format cannot expand that far.
    std::vector<char> buffer(64 * safeFormat.size() + 256);
    const size_t length = std::strftime(buffer.data(), buffer.size(), safeFormat.c_str(), &time);
    return std::string(buffer.data(), length);
}

std::vector<std::string> unknownConversions(const std::string& format) {
    std::vector<std::string> unknown;
    forEachUnknownConversion(format, [&](size_t at) { unknown.push_back(format.substr(at, 2)); });
    return unknown;
}
