// Fallback fonts on Windows: the UI fonts that come with the system for each
// script, looked up by the character's Unicode block. Windows has nothing
// like fontconfig that a plain C++ program can ask cheaply, and these files
// have kept their names across versions.
#include "platform/system_fonts.h"

#include <array>
#include <optional>

#include <windows.h>

#include "platform/file_io.h"
#include "platform/text_encoding.h"

namespace platform {
namespace {

struct BlockFonts {
    char32_t first, last;
    std::array<const char*, 5> files;  // best first, unused places null
};

// Sorted by block. Ideographs shared by Japanese and Chinese get the Japanese
// fonts first, whose glyph shapes Japanese readers expect; the Chinese ones
// add the simplified characters that those lack.
constexpr BlockFonts blockFonts[] = {
    {0x0000, 0x052F, {"segoeui.ttf"}},  // Latin, Greek, Cyrillic
    {0x0590, 0x06FF, {"segoeui.ttf"}},  // Hebrew, Arabic
    {0x0750, 0x077F, {"segoeui.ttf"}},
    {0x08A0, 0x08FF, {"segoeui.ttf"}},
    {0x0900, 0x097F, {"Nirmala.ttf", "mangal.ttf"}},  // Devanagari
    {0x0E00, 0x0E7F, {"LeelawUI.ttf", "tahoma.ttf"}},  // Thai
    {0x1100, 0x11FF, {"malgun.ttf"}},  // Hangul jamo
    {0x1E00, 0x20CF, {"segoeui.ttf"}},  // Latin and Greek extended, punctuation, currency
    {0x2100, 0x25FF, {"seguisym.ttf", "seguiemj.ttf"}},  // arrows, maths, shapes
    {0x2600, 0x27BF, {"seguiemj.ttf", "seguisym.ttf"}},  // symbols, dingbats
    {0x27C0, 0x2BFF, {"seguisym.ttf", "seguiemj.ttf"}},
    {0x2E80, 0x303F, {"YuGothR.ttc", "meiryo.ttc", "msgothic.ttc", "msyh.ttc", "simsun.ttc"}},
    {0x3040, 0x30FF, {"YuGothR.ttc", "meiryo.ttc", "msgothic.ttc"}},  // kana
    {0x3100, 0x312F, {"msyh.ttc", "simsun.ttc"}},  // bopomofo
    {0x3130, 0x318F, {"malgun.ttf"}},
    {0x31A0, 0x31BF, {"msyh.ttc", "simsun.ttc"}},
    {0x31F0, 0x31FF, {"YuGothR.ttc", "meiryo.ttc", "msgothic.ttc"}},
    {0x3200, 0x9FFF, {"YuGothR.ttc", "meiryo.ttc", "msgothic.ttc", "msyh.ttc", "simsun.ttc"}},
    {0xA960, 0xA97F, {"malgun.ttf"}},
    {0xAC00, 0xD7FF, {"malgun.ttf"}},  // Hangul syllables
    {0xF900, 0xFAFF, {"YuGothR.ttc", "meiryo.ttc", "msgothic.ttc", "msyh.ttc", "simsun.ttc"}},
    {0xFB1D, 0xFDFF, {"segoeui.ttf"}},  // Hebrew and Arabic presentation forms
    {0xFE30, 0xFE4F, {"YuGothR.ttc", "meiryo.ttc", "msgothic.ttc", "msyh.ttc", "simsun.ttc"}},
    {0xFE70, 0xFEFF, {"segoeui.ttf"}},
    {0xFF00, 0xFFEF, {"YuGothR.ttc", "meiryo.ttc", "msgothic.ttc", "msyh.ttc", "simsun.ttc"}},
    {0x1F000, 0x1FAFF, {"seguiemj.ttf", "seguisym.ttf"}},  // emoji
    {0xE0020, 0xE007F, {"seguiemj.ttf"}},  // the tags of subdivision flags
};

// The shared Windows folder: GetWindowsDirectoryW names a private one per
// user on terminal servers, which has no fonts.
std::optional<std::string> fontsFolder() {
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemWindowsDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::nullopt;
    const std::optional<std::string> windows = utf8FromWide(std::wstring_view(folder, length));
    if (!windows) return std::nullopt;
    return *windows + "\\Fonts\\";
}

}  // namespace

std::vector<std::string> systemFontsFor(char32_t character) {
    static const std::optional<std::string> folder = fontsFolder();
    std::vector<std::string> found;
    if (!folder) return found;
    for (const BlockFonts& block : blockFonts) {
        if (character < block.first || character > block.last) continue;
        for (const char* file : block.files) {
            if (!file) break;
            std::string path = *folder + file;
            // A standard font may be missing: Windows editions without it, Wine.
            if (openRegularFile(path).isOpen()) found.push_back(std::move(path));
        }
        break;
    }
    return found;
}

}  // namespace platform
