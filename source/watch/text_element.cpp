#include "watch/text_element.h"

#include "watch/battery_text.h"
#include "watch/element_draw.h"
#include "watch/text_raster.h"
#include "watch/time_format.h"

std::string shownText(const WatchElement& element, const WatchReadings& readings) {
    if (element.battery != BatteryDevice::None)
        return formatBattery(element.text, readings.batteries.of(element.battery),
                             element.chargingMark);
    if (const std::optional<ZonedTime> zoned = elementZoneTime(element, readings))
        return formatTimeInZone(element.text, zoned->time, zoned->abbreviation,
                                zoned->utcOffsetSeconds);
    return formatTime(element.text, readings.localTime);
}

void drawText(const Watch& watch, const WatchElement& element, const WatchReadings& readings,
              GLfloat depth) {
    const TextImage image =
        rasterizeText(element.fontFace.get(), shownText(element, readings), element.textCenter);
    glBindTexture(GL_TEXTURE_2D, element.texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, textImageSide, textImageSide, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, image.data());
    // The text's quad always covers the canvas one texel to one pixel, so only
    // level 0 is ever sampled; one level keeps the texture complete without
    // building mipmaps, which costs a software rasteriser a millisecond a text.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    drawElement(watch, element, translation(0.0f, 0.0f, depth), false);
}
