#pragma once

#include <optional>
#include <string>
#include <string_view>

// The program's narrow text is UTF-8; the Win32 calls that take names take
// them as UTF-16, since their narrow forms read the ANSI code page.
namespace platform {

// Nothing for bytes that are not UTF-8 or hold a NUL: such a name can only
// mean another file.
std::optional<std::wstring> widen(std::string_view utf8);

// Unpaired surrogates become U+FFFD.
std::string narrow(std::wstring_view utf16);

}  // namespace platform
