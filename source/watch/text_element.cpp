#include "watch/text_element.h"

#include "watch/element_draw.h"
#include "watch/text_raster.h"
#include "watch/time_format.h"

void drawText(const Watch& watch, const WatchElement& element, const std::tm& time, GLfloat depth) {
    const TextImage image =
        rasterizeText(element.fontFace.get(), formatTime(element.text, time), element.textCenter);
    glBindTexture(GL_TEXTURE_2D, element.texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, textImageSide, textImageSide, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, image.data());
    // The text's quad always covers the canvas one texel to one pixel, so only
    // level 0 is ever sampled; one level keeps the texture complete without
    // building mipmaps, which costs a software rasteriser a millisecond a text.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    drawElement(watch, element, translation(0.0f, 0.0f, depth), false);
}
