// The system's fonts for a character, through fontconfig.
#include "platform/system_fonts.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <utility>

#include <fontconfig/fontconfig.h>

namespace platform {
namespace {

// More candidates than this are never tried: the best few have the glyph.
constexpr std::size_t maxCandidates = 8;

std::string stringOf(FcPattern* font, const char* object) {
    FcChar8* value = nullptr;
    if (FcPatternGetString(font, object, 0, &value) != FcResultMatch) return {};
    return reinterpret_cast<const char*>(value);
}

// The configuration and the characters any of its fonts has, both loaded
// once: a character no font has is then refused without sorting every font.
// The characters are kept as fontconfig's pages of 256, copied out of its
// character set.
struct SystemFonts {
    using Page = std::pair<FcChar32, std::array<FcChar32, FC_CHARSET_MAP_SIZE>>;

    FcConfig* config = nullptr;
    std::vector<Page> covered;  // by first character

    bool anyHas(char32_t character) const {
        const auto page = std::lower_bound(covered.begin(), covered.end(), character & ~0xFFu,
                                           [](const Page& p, FcChar32 first) { return p.first < first; });
        return page != covered.end() && page->first == (character & ~0xFFu) &&
               (page->second[(character & 0xFF) / 32] >> (character % 32) & 1);
    }
};

const SystemFonts& systemFonts() {
    static const SystemFonts fonts = [] {
        SystemFonts loaded;
        if (!FcInit()) return loaded;
        // Parts of the configuration point at each other by offsets: released
        // at the end, they do not read as leaks to a leak checker.
        std::atexit(FcFini);
        loaded.config = FcConfigGetCurrent();
        FcCharSet* covered = FcCharSetCreate();
        FcPattern* any = FcPatternCreate();
        FcObjectSet* charsets = FcObjectSetBuild(FC_CHARSET, nullptr);
        if (FcFontSet* all = FcFontList(loaded.config, any, charsets)) {
            for (int i = 0; i < all->nfont; ++i) {
                FcCharSet* charset = nullptr;
                if (FcPatternGetCharSet(all->fonts[i], FC_CHARSET, 0, &charset) == FcResultMatch)
                    FcCharSetMerge(covered, charset, nullptr);
            }
            FcFontSetDestroy(all);
        }
        SystemFonts::Page page;
        FcChar32 next = 0;
        for (page.first = FcCharSetFirstPage(covered, page.second.data(), &next); page.first != FC_CHARSET_DONE;
             page.first = FcCharSetNextPage(covered, page.second.data(), &next))
            loaded.covered.push_back(page);
        FcObjectSetDestroy(charsets);
        FcPatternDestroy(any);
        FcCharSetDestroy(covered);
        return loaded;
    }();
    return fonts;
}

// FreeType reads TrueType and OpenType (CFF) files; fontconfig also lists
// Type 1, PCF and other bitmap formats, which text/ does not draw.
bool isOutlineFontFile(FcPattern* font) {
    const std::string format = stringOf(font, FC_FONTFORMAT);
    return format == "TrueType" || format == "CFF";
}

}  // namespace

std::vector<std::string> systemFontsFor(char32_t character) {
    const SystemFonts& fonts = systemFonts();
    std::vector<std::string> paths;
    if (!fonts.anyHas(character)) return paths;

    // The user's preferences (default family, language) order the fonts, as
    // they order them for any other program.
    FcPattern* pattern = FcPatternCreate();
    FcCharSet* wanted = FcCharSetCreate();
    FcCharSetAddChar(wanted, character);
    FcPatternAddCharSet(pattern, FC_CHARSET, wanted);
    FcConfigSubstitute(fonts.config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    if (FcFontSet* sorted = FcFontSort(fonts.config, pattern, FcFalse, nullptr, &result)) {
        // The best style of each family (the other styles have the same
        // characters), and one face of a collection's file.
        std::vector<std::string> families;
        for (int i = 0; i < sorted->nfont && paths.size() < maxCandidates; ++i) {
            FcPattern* font = sorted->fonts[i];
            FcCharSet* charset = nullptr;
            if (FcPatternGetCharSet(font, FC_CHARSET, 0, &charset) != FcResultMatch ||
                !FcCharSetHasChar(charset, character) || !isOutlineFontFile(font))
                continue;
            std::string family = stringOf(font, FC_FAMILY), path = stringOf(font, FC_FILE);
            if (path.empty() || std::find(families.begin(), families.end(), family) != families.end() ||
                std::find(paths.begin(), paths.end(), path) != paths.end())
                continue;
            families.push_back(std::move(family));
            paths.push_back(std::move(path));
        }
        FcFontSetDestroy(sorted);
    }
    FcCharSetDestroy(wanted);
    FcPatternDestroy(pattern);
    return paths;
}

}  // namespace platform
