#pragma once

// How the user has fitted the watch to the wrist, on top of where it sits by
// default. Each hand wears the mirror image of the same fit.
struct WristPlacement {
    float widthCm = 6;
    float offsetCm = 0;  // along the forearm; more is nearer the elbow
    float tiltDegrees = 0;

    bool operator==(const WristPlacement& other) const {
        return widthCm == other.widthCm && offsetCm == other.offsetCm &&
               tiltDegrees == other.tiltDegrees;
    }
    bool operator!=(const WristPlacement& other) const { return !(*this == other); }
};

// The ranges the menu offers; a saved value outside them is not taken.
constexpr float minWatchWidthCm = 4, maxWatchWidthCm = 12;
constexpr float maxWatchOffsetCm = 5;
constexpr float maxWatchTiltDegrees = 30;
