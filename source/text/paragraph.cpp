// A paragraph's runs: where direction, script or font change.
#include "text/paragraph.h"

#include <string_view>

#include "text/font_chain.h"

namespace {

// Characters that stay with the one before them when a font is chosen, so
// that a letter and its marks, or an emoji and its modifiers and joined
// partners, come from one font.
bool extendsCluster(char32_t previous, char32_t c) {
    if (previous == 0x200D || c == 0x200C || c == 0x200D || (c >= 0xFE00 && c <= 0xFE0F) ||
        (c >= 0x1F3FB && c <= 0x1F3FF) || (c >= 0xE0020 && c <= 0xE007F) || (c >= 0xE0100 && c <= 0xE01EF))
        return true;
    const hb_unicode_general_category_t category = hb_unicode_general_category(hb_unicode_funcs_get_default(), c);
    return category == HB_UNICODE_GENERAL_CATEGORY_NON_SPACING_MARK ||
           category == HB_UNICODE_GENERAL_CATEGORY_SPACING_MARK ||
           category == HB_UNICODE_GENERAL_CATEGORY_ENCLOSING_MARK;
}

std::vector<int> facesOf(FontChain& fonts, const std::u32string& text) {
    std::vector<int> faces(text.size());
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = start + 1;
        while (end < text.size() && extendsCluster(text[end - 1], text[end])) ++end;
        const int face = fonts.faceFor(std::u32string_view(text).substr(start, end - start));
        for (std::size_t i = start; i < end; ++i) faces[i] = face;
        start = end;
    }
    return faces;
}

// Characters common to scripts (blanks, digits, punctuation, emoji) and
// marks take the script of the letters before them, or at the start of the
// ones after.
std::vector<hb_script_t> scriptsOf(const std::u32string& text) {
    hb_unicode_funcs_t* unicode = hb_unicode_funcs_get_default();
    std::vector<hb_script_t> scripts(text.size(), HB_SCRIPT_INVALID);
    hb_script_t last = HB_SCRIPT_INVALID;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const hb_script_t script = hb_unicode_script(unicode, text[i]);
        if (script != HB_SCRIPT_COMMON && script != HB_SCRIPT_INHERITED && script != HB_SCRIPT_UNKNOWN)
            last = script;
        scripts[i] = last;
    }
    hb_script_t next = last == HB_SCRIPT_INVALID ? HB_SCRIPT_COMMON : last;
    for (std::size_t i = text.size(); i-- > 0;) {
        if (scripts[i] == HB_SCRIPT_INVALID)
            scripts[i] = next;
        else
            next = scripts[i];
    }
    return scripts;
}

}  // namespace

Paragraph layOutParagraph(FontChain& fonts, std::u32string text, hb_buffer_t* buffer) {
    Paragraph paragraph;
    paragraph.text = std::move(text);
    const std::u32string& chars = paragraph.text;
    if (chars.empty()) return paragraph;
    const auto length = static_cast<FriBidiStrIndex>(chars.size());
    const auto* bidiChars = reinterpret_cast<const FriBidiChar*>(chars.data());
    std::vector<FriBidiCharType> types(chars.size());
    std::vector<FriBidiBracketType> brackets(chars.size());
    std::vector<FriBidiLevel> levels(chars.size(), 0);
    fribidi_get_bidi_types(bidiChars, length, types.data());
    fribidi_get_bracket_types(bidiChars, length, types.data(), brackets.data());
    FriBidiParType direction = FRIBIDI_PAR_ON;
    if (fribidi_get_par_embedding_levels_ex(types.data(), brackets.data(), length, &direction, levels.data()) == 0) {
        direction = FRIBIDI_PAR_LTR;
        levels.assign(chars.size(), 0);
    }
    paragraph.rightToLeft = FRIBIDI_IS_RTL(direction);

    const std::vector<hb_script_t> scripts = scriptsOf(chars);
    const std::vector<int> faces = facesOf(fonts, chars);
    paragraph.advances.assign(chars.size(), 0);
    paragraph.clusterStarts.assign(chars.size(), 0);
    for (std::size_t start = 0; start < chars.size();) {
        std::size_t end = start + 1;
        while (end < chars.size() && levels[end] == levels[start] && scripts[end] == scripts[start] &&
               faces[end] == faces[start])
            ++end;
        TextRun run{start, end, faces[start], levels[start], {}};
        run.glyphs = shape(*fonts.faces[run.face], chars, start, end, scripts[start], run.level & 1, buffer);
        for (const ShapedGlyph& glyph : run.glyphs) {
            paragraph.advances[glyph.cluster] += glyph.advance;
            paragraph.clusterStarts[glyph.cluster] = 1;
        }
        paragraph.runs.push_back(std::move(run));
        start = end;
    }
    return paragraph;
}
