#include "notifications/plain_text.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/text_encoding.h"

namespace {

using platform::replacementCharacter;
// Tags longer than this are taken as text: a real tag is short.
constexpr std::size_t maxTagLength = 256;
// Only this much of a text is looked at; nothing longer can be shown anyway.
constexpr std::size_t maxInputBytes = 64 * 1024;

bool isBidiControl(char32_t c) {
    return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069);
}

bool isAsciiLetter(char32_t c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// The tag's name in lower case ("b", "/color", "br"), or empty when the text
// at 'open' is no tag.
std::u32string tagAt(const std::u32string& text, std::size_t open, std::size_t& close) {
    std::size_t nameStart = open + 1;
    if (nameStart < text.size() && text[nameStart] == '/') ++nameStart;
    if (nameStart >= text.size() || !isAsciiLetter(text[nameStart])) return {};
    close = open + 1;
    while (close < text.size() && close - open <= maxTagLength && text[close] != '>') ++close;
    if (close >= text.size() || text[close] != '>') return {};
    std::u32string name;
    for (std::size_t i = open + 1; i < close; ++i) {
        const char32_t c = text[i];
        if (!isAsciiLetter(c) && c != '/') break;
        name += c >= 'A' && c <= 'Z' ? c + 32 : c;
    }
    return name;
}

// The character an entity stands for, with 'end' past its ';'; 0 when the
// text at 'amp' is no entity we know.
char32_t entityAt(const std::u32string& text, std::size_t amp, std::size_t& end) {
    std::size_t semicolon = amp + 1;
    while (semicolon < text.size() && semicolon - amp <= 10 && text[semicolon] != ';') ++semicolon;
    if (semicolon >= text.size() || text[semicolon] != ';') return 0;
    const std::u32string name = text.substr(amp + 1, semicolon - amp - 1);
    end = semicolon + 1;
    if (name == U"amp") return '&';
    if (name == U"lt") return '<';
    if (name == U"gt") return '>';
    if (name == U"quot") return '"';
    if (name == U"apos") return '\'';
    if (name.size() < 2 || name[0] != '#') return 0;
    const bool hex = name[1] == 'x' || name[1] == 'X';
    std::uint32_t value = 0;
    const std::size_t first = hex ? 2 : 1;
    if (first >= name.size()) return 0;
    for (std::size_t i = first; i < name.size(); ++i) {
        const char32_t c = name[i];
        int digit = c >= '0' && c <= '9' ? int(c - '0') : -1;
        if (hex && c >= 'a' && c <= 'f') digit = int(c - 'a') + 10;
        if (hex && c >= 'A' && c <= 'F') digit = int(c - 'A') + 10;
        if (digit < 0) return 0;
        value = value * (hex ? 16 : 10) + digit;
        if (value > 0x10FFFF) return replacementCharacter;
    }
    if (value == 0 || (value >= 0xD800 && value <= 0xDFFF)) return replacementCharacter;
    return value;
}

std::u32string withoutMarkup(const std::u32string& text) {
    std::u32string plain;
    plain.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::size_t end = 0;
        if (text[i] == '<') {
            const std::u32string tag = tagAt(text, i, end);
            if (!tag.empty()) {
                if (tag == U"br" || tag == U"br/") plain += '\n';
                i = end;
                continue;
            }
        } else if (text[i] == '&') {
            if (const char32_t c = entityAt(text, i, end)) {
                plain += c;
                i = end - 1;
                continue;
            }
        }
        plain += text[i];
    }
    return plain;
}

std::string encodeShown(const std::u32string& text, std::size_t maxCharacters, bool inputCut) {
    std::vector<char32_t> shown;
    for (char32_t c : text) {
        if (c == '\t') c = ' ';
        if ((c < 0x20 && c != '\n') || (c >= 0x7F && c < 0xA0) || isBidiControl(c)) continue;
        shown.push_back(c);
    }
    std::string out;
    if (shown.size() > maxCharacters || (inputCut && !shown.empty())) {
        shown.resize(std::min(shown.size(), maxCharacters > 0 ? maxCharacters - 1 : 0));
        if (maxCharacters > 0) shown.push_back(0x2026);
    }
    for (char32_t c : shown) platform::appendUtf8(out, c);
    return out;
}

}  // namespace

std::string plainText(std::string_view bytes, std::size_t maxCharacters) {
    const bool cut = bytes.size() > maxInputBytes;
    return encodeShown(platform::decodeUtf8Text(bytes.substr(0, maxInputBytes)), maxCharacters, cut);
}

std::string plainTextFromMarkup(std::string_view bytes, std::size_t maxCharacters) {
    const bool cut = bytes.size() > maxInputBytes;
    return encodeShown(withoutMarkup(platform::decodeUtf8Text(bytes.substr(0, maxInputBytes))), maxCharacters, cut);
}

std::string validUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char32_t c : platform::decodeUtf8Text(bytes)) platform::appendUtf8(out, c);
    return out;
}
