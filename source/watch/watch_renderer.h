#pragma once

#include <ctime>

#include "watch/battery_status.h"
#include "watch/matrix.h"
#include "watch/time_zone.h"
#include "watch/watch.h"

struct Settings;

// What one drawing of the watch shows.
struct WatchReadings {
    std::tm localTime{};      // for elements without a zone of their own
    std::time_t instant = 0;  // the same moment, for elements with one
    // The zone of `localTime` when it is not the machine's own, as in a
    // preview of another place; elements without a zone then show its time,
    // abbreviation and offset. Null for the machine's zone.
    const TimeZone* localZone = nullptr;
    DeviceBatteries batteries;  // none shown unless a runtime reported them
};

// The time an element shows: that of its own zone or of the previewed local
// zone, or none when it shows the machine's local time.
std::optional<ZonedTime> elementZoneTime(const WatchElement& element,
                                         const WatchReadings& readings);

// Draws the watch into the bound 256 x 256 target, which the caller has
// cleared; layers lie back to front, each 0.01 nearer than the one before,
// from a depth of 0.99.
void drawWatch(const Watch& watch, const WatchReadings& readings, const Settings& settings);

// Radians clockwise from twelve o'clock. Hour and minute hands move with every
// second; the second hand steps once a second. Unbound hands stand at 0.
GLfloat handAngle(HandBinding bind, const std::tm& time);

// Puts the hand's pivot on the canvas centre, turned by the angle, at the depth.
Matrix4 handModelMatrix(const WatchElement& hand, GLfloat angle, GLfloat depth);

// Whether any of the watch's hands or texts shows a battery.
bool showsBatteries(const Watch& watch);

// Where a battery hand points for the charge, which is held to 0 to 1.
GLfloat gaugeAngle(const GaugeArc& arc, float charge);

// A battery hand whose device shows no charge is left out.
void drawHand(const Watch& watch, const WatchElement& hand, const WatchReadings& readings,
              GLfloat depth);
