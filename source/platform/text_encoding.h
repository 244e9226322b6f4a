#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The program's narrow text, names of files included, is UTF-8. The system's
// own forms differ: wchar_t text is UTF-32 on Linux and UTF-16 on Windows,
// and std::filesystem reads narrow names in Windows' ANSI code page and throws
// on what it cannot convert. These conversions never throw.
namespace platform {

// Appends the character's UTF-8 bytes; the caller passes a Unicode scalar
// value (at most U+10FFFF, no surrogate).
void appendUtf8(std::string& out, char32_t character);

// Reads the character that starts at `at`, which is before the end, and
// moves `at` past it. Bytes that are no UTF-8 (a stray continuation byte, a
// truncated, overlong or surrogate sequence, one past U+10FFFF) give nothing,
// and `at` moves past the longest start of a valid sequence found there, at
// least one byte: each such stretch is one character that is not there, as
// Unicode counts them for replacing each with U+FFFD.
std::optional<char32_t> decodeUtf8(std::string_view text, std::size_t& at);

// The text with every stretch that is no UTF-8 replaced by U+FFFD.
std::u32string decodeUtf8Text(std::string_view text);

constexpr char32_t replacementCharacter = 0xFFFD;

// Nothing for text that is not valid in its encoding.
std::optional<std::wstring> wideFromUtf8(std::string_view utf8);
std::optional<std::string> utf8FromWide(std::wstring_view wide);

// Nothing for a name that the system cannot take: on Windows, one that is
// not UTF-8; on Linux names are bytes and always taken.
std::optional<std::filesystem::path> pathFromUtf8(const std::string& utf8);

// A Windows name with an unpaired surrogate gets U+FFFD in its place.
std::string utf8FromPath(const std::filesystem::path& path);

}  // namespace platform
