#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "gl/render_target.h"
#include "watch/watch.h"
#include "watch/watch_renderer.h"

struct Settings;

// The side of the watch's render target, as the overlay gets it.
constexpr int watchImageSide = 256;

// RGBA, 8 bits a channel, rows from the top.
struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
};

// Draws the watch as the program's redraw does, into a 256 x 256 target under
// the program's fixed GL state, cleared to transparent black, and reads back
// exactly what the overlay would be handed. Needs the GL context current.
RgbaImage drawWatchImage(const RenderTarget& target, const Watch& watch,
                         const WatchReadings& readings, const Settings& settings);

// Every pixel becomes a square of factor x factor equal pixels.
RgbaImage enlarged(const RgbaImage& image, int factor);

std::string encodePng(const RgbaImage& image);
