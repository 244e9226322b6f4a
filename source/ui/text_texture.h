#pragma once

#include <string>

#include "text/text_block.h"

// OpenGL's name for its objects, without the GL headers.
typedef unsigned int GLuint;

// Text from outside the program, in any script, as an image in ImGui: drawn
// by the text engine into a texture of its own, and drawn again only when the
// text or its style changes. Needs the GL context current while it lives.
class TextTexture {
public:
    TextTexture();
    ~TextTexture();
    TextTexture(const TextTexture&) = delete;
    TextTexture& operator=(const TextTexture&) = delete;

    // Makes the image of the text in that style, unless it holds it
    // already, and says what it took (lines, and whether it was cut).
    const TextBlock& draw(FontChain& fonts, const std::string& text, const TextBlockStyle& style);
    // Shows the image at the cursor at its own size (nothing for an empty
    // text) and hands its text to ImGui's log, as ImGui's own text is.
    void show() const;
    // Both, for a text in one style.
    void show(FontChain& fonts, const std::string& text, const TextBlockStyle& style) {
        draw(fonts, text, style);
        show();
    }
    // The image last drawn: its size, lines and whether it was cut; its
    // pixels are in the texture alone.
    const TextBlock& block() const { return drawn; }
    // Whether its image is of that text, in whatever style.
    bool holds(const std::string& wanted) const { return !empty && wanted == text; }

private:
    GLuint texture = 0;
    std::string text;
    TextBlockStyle style;
    TextBlock drawn;
    bool empty = true;
};
