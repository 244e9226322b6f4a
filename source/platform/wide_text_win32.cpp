#include "platform/wide_text_win32.h"

#include <windows.h>

namespace platform {

std::optional<std::wstring> widen(std::string_view utf8) {
    if (utf8.find('\0') != std::string_view::npos) return std::nullopt;
    if (utf8.empty()) return std::wstring();
    const int length = static_cast<int>(utf8.size());
    const int count =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, nullptr, 0);
    if (count <= 0) return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(count), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, wide.data(), count);
    return wide;
}

std::string narrow(std::wstring_view utf16) {
    if (utf16.empty()) return std::string();
    const int length = static_cast<int>(utf16.size());
    const int count =
        WideCharToMultiByte(CP_UTF8, 0, utf16.data(), length, nullptr, 0, nullptr, nullptr);
    if (count <= 0) return std::string();
    std::string text(static_cast<std::size_t>(count), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), length, text.data(), count, nullptr, nullptr);
    return text;
}

}  // namespace platform
