#pragma once

#include <ctime>
#include <string>
#include <vector>

// The local time formatted by strftime in the C locale. A conversion that the
// C standard does not define (such as "%Q", or a lone '%' at the end) is
// written out unchanged instead of being left to the C library.
std::string formatTime(const std::string& format, const std::tm& time);

// As formatTime, with "%Z" and "%z" written as the abbreviation and the UTC
// offset ("+0900") of the zone the time is in: the C library knows them only
// for the machine's own zone.
std::string formatTimeInZone(const std::string& format, const std::tm& time,
                             const std::string& abbreviation, long utcOffsetSeconds);

// The conversions of the format that formatTime writes out unchanged, each
// with its '%' ("%Q", or "%" for one at the end), in order.
std::vector<std::string> unknownConversions(const std::string& format);
