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
    std::string text = shownText(element, readings);
    if (element.textureText != text) {
        const TextImage image = rasterizeText(element.fontFace.get(), text, element.textCenter, watch.fallbackFonts);
        glBindTexture(GL_TEXTURE_2D, element.texture);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, textImageSide, textImageSide, 0, GL_RGBA,
                     GL_UNSIGNED_BYTE, image.data());
        // The text's quad always covers the canvas one texel to one pixel, so
        // only level 0 is ever sampled; one level keeps the texture complete
        // without building mipmaps, which costs a software rasteriser a
        // millisecond a text.
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
        element.textureInk = inkedBox(image);
        element.textureText = std::move(text);
    }
    // The rest of the quad is transparent: only the inked pixels are drawn,
    // which spares a software rasteriser most of the canvas.
    const PixelBox& ink = element.textureInk;
    if (ink.empty()) return;
    glEnable(GL_SCISSOR_TEST);
    // GL counts rows from the bottom.
    glScissor(ink.left, textImageSide - ink.bottom, ink.right - ink.left, ink.bottom - ink.top);
    drawElement(watch, element, translation(0.0f, 0.0f, depth), false);
    glDisable(GL_SCISSOR_TEST);
}
