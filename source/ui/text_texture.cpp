#include "ui/text_texture.h"

#include <cstdint>

#include <GL/glew.h>
#include <imgui.h>

namespace {

bool sameStyle(const TextBlockStyle& a, const TextBlockStyle& b) {
    return a.pixelSize == b.pixelSize && a.maxWidth == b.maxWidth && a.maxLines == b.maxLines && a.red == b.red &&
           a.green == b.green && a.blue == b.blue;
}

}  // namespace

TextTexture::TextTexture() { glGenTextures(1, &texture); }

TextTexture::~TextTexture() { glDeleteTextures(1, &texture); }

const TextBlock& TextTexture::draw(FontChain& fonts, const std::string& wanted, const TextBlockStyle& wantedStyle) {
    if (!empty && wanted == text && sameStyle(wantedStyle, style)) return drawn;
    text = wanted;
    style = wantedStyle;
    empty = false;
    drawn = renderTextBlock(fonts, text, style);
    if (drawn.width > 0) {
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, drawn.width, drawn.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     drawn.rgba.data());
    }
    // The texture holds the pixels from now on.
    std::vector<std::uint8_t>().swap(drawn.rgba);
    return drawn;
}

void TextTexture::show() const {
    if (drawn.width == 0) return;
    ImGui::Image(reinterpret_cast<ImTextureID>(static_cast<std::uintptr_t>(texture)),
                 ImVec2(static_cast<float>(drawn.width), static_cast<float>(drawn.height)));
    ImGui::LogText("%s\n", text.c_str());
}
