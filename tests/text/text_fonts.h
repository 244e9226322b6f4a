#pragma once

// What the text engine's suites share: the fonts as the build bundles them,
// toasts in every script, and paragraphs laid out as the engine lays them out.

#include <filesystem>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

#include "platform/system_fonts.h"
#include "platform/text_encoding.h"
#include "support/test_files.h"
#include "support/watch_package_fixture.h"
#include "text/font_chain.h"
#include "text/paragraph.h"
#include "text/text_block.h"

// The build's run directory lies beside tests/, which holds the test program;
// its fonts/ holds the fonts the packages bundle.
inline std::string runDirectory() {
#ifdef _WIN32
    wchar_t program[MAX_PATH];
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    const std::filesystem::path tests = std::filesystem::path(program).parent_path();
#else
    const std::filesystem::path tests = std::filesystem::read_symlink("/proc/self/exe").parent_path();
#endif
    return platform::utf8FromPath(tests.parent_path() / "run");
}

struct Sample {
    const char* script;
    const char* text;
    bool isEmoji() const { return std::string(script) == "Emoji"; }
};
// Toasts as players send them.
inline constexpr Sample everyScript[] = {
    {"Japanese", "フレンドがオンラインになりました"},
    {"Korean", "친구가 온라인 상태입니다"},
    {"Chinese", "你的朋友现在在线"},
    {"Russian", "Друг в сети"},
    {"Greek", "Ο φίλος σου είναι συνδεδεμένος"},
    {"Arabic", "صديقك متصل الآن"},
    {"Hebrew", "החבר שלך מחובר"},
    {"Hindi", "आपका मित्र ऑनलाइन है"},
    {"Thai", "เพื่อนของคุณออนไลน์แล้ว"},
    {"Emoji", "🎉👍🏽❤️🇯🇵"},
};

// Colour emoji come from the system's fonts only.
inline bool systemHasEmojiFont() { return !platform::systemFontsFor(U'\U0001F600').empty(); }

// As the program makes it: Roboto first, the system's fonts, then the bundled ones.
inline FontChainPointer chainWith(const std::string& primary = runDirectory() + "/Roboto-Medium.ttf") {
    const std::string bytes = readWholeFile(primary);
    return createFontChain(testFontLibrary(), {bytes.begin(), bytes.end()}, runDirectory() + "/fonts");
}

struct ShapingBuffer {
    hb_buffer_t* buffer = hb_buffer_create();
    ~ShapingBuffer() { hb_buffer_destroy(buffer); }
};

inline Paragraph laidOut(FontChain& chain, const std::string& text, hb_buffer_t* buffer) {
    const std::wstring wide = platform::wideFromUtf8(text).value();
    chain.setPixelSize(24);
    chain.beginText();
    return layOutParagraph(chain, std::u32string(wide.begin(), wide.end()), buffer);
}

// The scripts whose text gets a glyph the font lacks (.notdef) or a question mark.
inline std::string missingGlyphs(FontChain& chain, bool withEmoji) {
    std::string missing;
    const ShapingBuffer shaping;
    for (const Sample& sample : everyScript) {
        if (!withEmoji && sample.isEmoji()) continue;
        const Paragraph paragraph = laidOut(chain, sample.text, shaping.buffer);
        for (const TextRun& run : paragraph.runs) {
            hb_codepoint_t question = 0;
            hb_font_get_nominal_glyph(chain.faces[run.face]->harfBuzz, '?', &question);
            for (const ShapedGlyph& glyph : run.glyphs)
                if (glyph.id == 0 || glyph.id == question) missing += std::string(sample.script) + " ";
        }
    }
    return missing;
}
