// UTF-8 against UTF-16 wchar_t text with the system's own converters, and
// paths that are UTF-16.
#include "platform/text_encoding.h"

#include <windows.h>

namespace platform {
namespace {

std::string utf8FromUtf16(std::wstring_view utf16, DWORD flags) {
    if (utf16.empty()) return std::string();
    const int length = static_cast<int>(utf16.size());
    const int count = WideCharToMultiByte(CP_UTF8, flags, utf16.data(), length, nullptr, 0, nullptr, nullptr);
    if (count <= 0) return std::string();
    std::string utf8(static_cast<std::size_t>(count), '\0');
    WideCharToMultiByte(CP_UTF8, flags, utf16.data(), length, utf8.data(), count, nullptr, nullptr);
    return utf8;
}

}  // namespace

std::optional<std::wstring> wideFromUtf8(std::string_view utf8) {
    if (utf8.empty()) return std::wstring();
    const int length = static_cast<int>(utf8.size());
    const int count = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, nullptr, 0);
    if (count <= 0) return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(count), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, wide.data(), count);
    return wide;
}

std::optional<std::string> utf8FromWide(std::wstring_view wide) {
    std::string utf8 = utf8FromUtf16(wide, WC_ERR_INVALID_CHARS);
    if (utf8.empty() && !wide.empty()) return std::nullopt;
    return utf8;
}

std::optional<std::filesystem::path> pathFromUtf8(const std::string& utf8) {
    std::optional<std::wstring> wide = wideFromUtf8(utf8);
    if (!wide) return std::nullopt;
    return std::filesystem::path(std::move(*wide));
}

std::string utf8FromPath(const std::filesystem::path& path) { return utf8FromUtf16(path.native(), 0); }

}  // namespace platform
