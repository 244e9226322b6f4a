#include "platform/text_encoding.h"

namespace platform {

void appendUtf8(std::string& out, char32_t character) {
    if (character < 0x80) {
        out += static_cast<char>(character);
    } else if (character < 0x800) {
        out += static_cast<char>(0xC0 | character >> 6);
        out += static_cast<char>(0x80 | (character & 0x3F));
    } else if (character < 0x10000) {
        out += static_cast<char>(0xE0 | character >> 12);
        out += static_cast<char>(0x80 | (character >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (character & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | character >> 18);
        out += static_cast<char>(0x80 | (character >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (character >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (character & 0x3F));
    }
}

std::optional<char32_t> decodeUtf8(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    ++at;
    if (lead < 0x80) return lead;
    // The second byte's range rules out overlong forms, surrogates and
    // values past U+10FFFF; the later ones are any continuation byte.
    std::size_t length = 0;
    char32_t character = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, character = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, character = lead & 0x0F;
        low = lead == 0xE0 ? 0xA0 : 0x80, high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, character = lead & 0x07;
        low = lead == 0xF0 ? 0x90 : 0x80, high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return std::nullopt;
    }
    for (std::size_t taken = 1; taken < length; ++taken, ++at) {
        if (at == text.size()) return std::nullopt;
        const auto next = static_cast<unsigned char>(text[at]);
        if (next < low || next > high) return std::nullopt;
        low = 0x80, high = 0xBF;
        character = character << 6 | (next & 0x3F);
    }
    return character;
}

std::u32string decodeUtf8Text(std::string_view text) {
    std::u32string characters;
    characters.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) characters += decodeUtf8(text, at).value_or(replacementCharacter);
    return characters;
}

}  // namespace platform
