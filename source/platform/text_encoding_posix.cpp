// UTF-8 against UTF-32 wchar_t text, and paths that are plain bytes.
#include "platform/text_encoding.h"

namespace platform {
namespace {

bool isScalarValue(char32_t c) { return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF); }

}  // namespace

std::optional<std::wstring> wideFromUtf8(std::string_view utf8) {
    std::wstring wide;
    for (std::size_t at = 0; at < utf8.size();) {
        const std::optional<char32_t> character = decodeUtf8(utf8, at);
        if (!character) return std::nullopt;
        wide += static_cast<wchar_t>(*character);
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
