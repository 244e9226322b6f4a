#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <GL/glew.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include "watch/battery_status.h"
#include "watch/time_zone.h"

// A watch is a stack of flat layers on a 256 x 256 canvas, back to front in
// the order of its "config" sections.

enum class ElementType : std::int32_t { Face = 0, Hand = 1, Text = 2 };

// Any value other than these three binds the hand to nothing.
enum class HandBinding : std::int32_t { None = 0, Second = 2, Minute = 3, Hour = 4 };

struct WatchShader {
    bool linked = false;
    GLuint program = 0;
    GLuint vertexShader = 0;
    GLuint fragmentShader = 0;
};

struct FontChain;

struct FontFaceCloser {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using FontFace = std::unique_ptr<FT_FaceRec_, FontFaceCloser>;

struct CanvasPoint {
    float x = 0.0f;
    float y = 0.0f;
};

// Where a battery hand points, in radians clockwise from twelve, when the
// battery is empty and when it is full; charges between turn it in
// proportion. Half a turn, nine o'clock to three, unless a package says.
struct GaugeArc {
    float empty = -1.5707964f;
    float full = 1.5707964f;
};

struct PenOrigin {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

// Canvas pixels from the top-left: columns left to right - 1, rows top to
// bottom - 1.
struct PixelBox {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool empty() const { return right <= left || bottom <= top; }
};

// One layer. The fields after the common ones serve only the layer's own type.
struct WatchElement {
    ElementType type = ElementType::Face;
    GLuint vertexBuffer = 0;
    GLuint indexBuffer = 0;
    GLuint texture = 0;

    // Face
    bool mirrorOnRight = false;

    // Hand: `center` is the pivot in image pixels from the image's bottom-left.
    bool continuous = false;
    HandBinding bind = HandBinding::None;
    CanvasPoint center;

    // Text: the pen origin of the first line, from the canvas's top-left, and a
    // strftime format of at most 63 bytes. The face reads `fontData` for as
    // long as it lives, so the face is declared after it and closed first.
    PenOrigin textCenter;
    std::uint32_t fontSize = 0;
    std::string text;
    std::vector<unsigned char> fontData;
    FontFace fontFace;
    // The text the texture holds and where its pixels lie, so that a redraw
    // showing the same text neither renders nor uploads it again.
    mutable std::optional<std::string> textureText;
    mutable PixelBox textureInk;

    // Hand or text: the battery it shows instead of the time (a hand over
    // `arc`, a text through its format with `chargingMark`), or the zone
    // whose time it shows instead of the local one (null: local).
    BatteryDevice battery = BatteryDevice::None;
    GaugeArc arc;
    std::string chargingMark;
    const TimeZone* zone = nullptr;
};

constexpr std::size_t maxTextBytes = 63;

struct Watch {
    Watch() = default;
    Watch(const Watch&) = delete;
    Watch& operator=(const Watch&) = delete;
    // Gives back the GL objects of a loaded watch; needs the GL context current.
    ~Watch();

    std::string name;
    std::string description;
    GLuint vertexArray = 0;
    WatchShader shader;
    std::array<GLfloat, 16> viewMatrix{};  // column-major
    std::vector<WatchElement> elements;
    FT_Library fontLibrary = nullptr;  // borrowed: the process's one library
    FontChain* fallbackFonts = nullptr;  // borrowed: for characters its fonts lack, where given
};
