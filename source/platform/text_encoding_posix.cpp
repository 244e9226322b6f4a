// UTF-8 against UTF-32 wchar_t text, and paths that are plain bytes.
#include "platform/text_encoding.h"

namespace platform {
namespace {

bool isScalarValue(char32_t c) { return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF); }

}  // namespace

std::optional<std::wstring> wideFromUtf8(std::string_view utf8) {
    std::wstring wide;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3
                         : (lead >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > utf8.size()) return std::nullopt;
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            if ((next & 0xC0) != 0x80) return std::nullopt;
            c = c << 6 | (next & 0x3F);
        }
        // Overlong forms would let one character hide behind another's bytes.
        constexpr char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (c < smallest[length] || !isScalarValue(c)) return std::nullopt;
        wide += static_cast<wchar_t>(c);
        i += length;
    }
    return wide;
}

std::optional<std::string> utf8FromWide(std::wstring_view wide) {
    std::string utf8;
    for (wchar_t w : wide) {
        const auto c = static_cast<char32_t>(w);
        if (!isScalarValue(c)) return std::nullopt;
        appendUtf8(utf8, c);
    }
    return utf8;
}

std::optional<std::filesystem::path> pathFromUtf8(const std::string& utf8) {
    return std::filesystem::path(utf8);
}

std::string utf8FromPath(const std::filesystem::path& path) { return path.string(); }

}  // namespace platform
