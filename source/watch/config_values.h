#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "watch/watch.h"

// How the values of a package's "config" are read.

// Upper-cased, then matched as a prefix: "HOUR", "MINUTE", "SECOND"; anything
// else binds to nothing.
HandBinding parseHandBinding(const std::string& value);

// Exactly "CONTINUOUS" in any case.
bool parseMovement(const std::string& value);

// Two numbers with one separator byte between them, each read as strtof or
// strtol read them; a missing second number is 0.
CanvasPoint parseHandCenter(const std::string& value);
PenOrigin parseTextCenter(const std::string& value);

// Points to pixels at the overlay's 108.37333 pixels per inch, truncated;
// negative or unreadable sizes give 0.
std::uint32_t fontPixelSize(const std::string& points);

// The first 63 bytes of the format, up to its first NUL byte.
std::string boundedText(const std::string& value);

// "left", "right" or "hmd": the device whose battery an element shows;
// anything else shows none.
BatteryDevice parseBatteryDevice(const std::string& value);

// "EMPTY,FULL" in degrees clockwise from twelve, such as "-120,120": two
// finite numbers and nothing else, apart by more than nothing and at most a
// full turn. None otherwise.
std::optional<GaugeArc> parseGaugeArc(const std::string& value);
