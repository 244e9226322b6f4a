#include "watch/watch_renderer.h"

#include <algorithm>

#include "config/settings.h"
#include "watch/element_draw.h"
#include "watch/text_element.h"

namespace {

// One float below 2 pi; the hands are tuned to this very value.
constexpr GLfloat fullTurn = 6.283185f;
constexpr GLfloat canvasCentre = 128.0f;

}  // namespace

GLfloat handAngle(HandBinding bind, const std::tm& time) {
    const int hour = time.tm_hour % 12;
    switch (bind) {
        case HandBinding::Hour:
            return GLfloat(hour * 3600 + time.tm_min * 60 + time.tm_sec) * fullTurn / 43200.0f;
        case HandBinding::Minute:
            return GLfloat(time.tm_min * 60 + time.tm_sec) * fullTurn / 3600.0f;
        case HandBinding::Second:
            return GLfloat(time.tm_sec) * fullTurn / 60.0f;
        default:
            return 0.0f;
    }
}

Matrix4 handModelMatrix(const WatchElement& hand, GLfloat angle, GLfloat depth) {
    return translation(canvasCentre, canvasCentre, depth) * clockwiseRotation(angle) *
           translation(-hand.center.x, -hand.center.y, 0.0f);
}

bool showsBatteries(const Watch& watch) {
    return std::any_of(watch.elements.begin(), watch.elements.end(), [](const WatchElement& element) {
        return element.battery != BatteryDevice::None;
    });
}

GLfloat gaugeAngle(const GaugeArc& arc, float charge) {
    const float held = charge > 0.0f ? std::min(charge, 1.0f) : 0.0f;  // NaN too
    return arc.empty + (arc.full - arc.empty) * held;
}

void drawHand(const Watch& watch, const WatchElement& hand, const WatchReadings& readings,
              GLfloat depth) {
    GLfloat angle = 0.0f;
    if (hand.battery != BatteryDevice::None) {
        const BatteryStatus battery = readings.batteries.of(hand.battery);
        if (!battery.shown()) return;
        angle = gaugeAngle(hand.arc, battery.charge);
    } else {
        const std::optional<ZonedTime> zoned = elementZoneTime(hand, readings);
        angle = handAngle(hand.bind, zoned ? zoned->time : readings.localTime);
    }
    drawElement(watch, hand, handModelMatrix(hand, angle, depth), false);
}

void drawWatch(const Watch& watch, const WatchReadings& readings, const Settings& settings) {
    // Without a linked program every draw would only raise GL errors.
    if (!watch.shader.linked) return;
    glBindVertexArray(watch.vertexArray);
    glUseProgram(watch.shader.program);

    GLfloat depth = 0.99f;
    for (const WatchElement& element : watch.elements) {
        switch (element.type) {
            case ElementType::Face:
                // Faces sit one pixel right of the canvas corner.
                drawElement(watch, element, translation(1.0f, 0.0f, depth),
                            settings.watchOnRightHand && element.mirrorOnRight);
                break;
            case ElementType::Hand:
                drawHand(watch, element, readings, depth);
                break;
            case ElementType::Text:
                drawText(watch, element, readings, depth);
                break;
        }
        depth -= 0.01f;
    }
}
