#include "ui/text_texture.h"

#include <cstdint>

#include <imgui.h>

#include "gl/rgba_texture.h"

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
    // Drawn at its own size on whole pixels, each pixel is one texel: the
    // nearest costs a software rasteriser a quarter of the fetches.
    if (drawn.width > 0) uploadRgbaTexture(texture, drawn.width, drawn.height, drawn.rgba.data(), GL_NEAREST);
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
