// Which font draws which character: the primary, else fallbacks opened on
// first need from the system's fonts and then the bundled folder's.
#include "text/font_chain.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <system_error>

#include "platform/file_io.h"
#include "platform/system_fonts.h"
#include "platform/text_encoding.h"

namespace {

// Bounds on what a text from outside can make the chain do or keep: the
// fonts open at once (a toast in every script needs about ten), their bytes
// (mapped, so only the pages read take memory), the questions to the system
// per text (each sorts all its fonts), and the characters whose font is
// remembered.
constexpr std::size_t maxFaces = 16;
constexpr std::size_t maxFallbackBytes = std::size_t{96} << 20;
constexpr int systemLookupsPerText = 16;
constexpr std::size_t maxChosen = 4096;
constexpr std::size_t maxBundledFiles = 32;

// Format characters (joiners, direction marks) and variation selectors show
// nothing: HarfBuzz hides them whether the font has them or not.
bool needsNoGlyph(char32_t c) {
    return (c >= 0xFE00 && c <= 0xFE0F) || (c >= 0xE0100 && c <= 0xE01EF) ||
           hb_unicode_general_category(hb_unicode_funcs_get_default(), c) == HB_UNICODE_GENERAL_CATEGORY_FORMAT;
}

// The characters shown as emoji without asking (Emoji_Presentation of the
// Unicode emoji data): the pictographs of the supplementary planes, and these
// of the basic plane.
bool hasEmojiPresentation(char32_t c) {
    static constexpr char32_t ranges[][2] = {
        {0x231A, 0x231B}, {0x23E9, 0x23EC}, {0x23F0, 0x23F0}, {0x23F3, 0x23F3}, {0x25FD, 0x25FE},
        {0x2614, 0x2615}, {0x2648, 0x2653}, {0x267F, 0x267F}, {0x2693, 0x2693}, {0x26A1, 0x26A1},
        {0x26AA, 0x26AB}, {0x26BD, 0x26BE}, {0x26C4, 0x26C5}, {0x26CE, 0x26CE}, {0x26D4, 0x26D4},
        {0x26EA, 0x26EA}, {0x26F2, 0x26F3}, {0x26F5, 0x26F5}, {0x26FA, 0x26FA}, {0x26FD, 0x26FD},
        {0x2705, 0x2705}, {0x270A, 0x270B}, {0x2728, 0x2728}, {0x274C, 0x274C}, {0x274E, 0x274E},
        {0x2753, 0x2755}, {0x2757, 0x2757}, {0x2795, 0x2797}, {0x27B0, 0x27B0}, {0x27BF, 0x27BF},
        {0x2B1B, 0x2B1C}, {0x2B50, 0x2B50}, {0x2B55, 0x2B55}, {0x1F000, 0x1FAFF}};
    return std::any_of(std::begin(ranges), std::end(ranges),
                       [c](const char32_t* range) { return c >= range[0] && c <= range[1]; });
}

// U+FE0F asks for emoji, U+FE0E for text; otherwise the base decides.
bool wantsColour(std::u32string_view cluster) {
    for (char32_t c : cluster) {
        if (c == 0xFE0E) return false;
        if (c == 0xFE0F) return true;
    }
    return hasEmojiPresentation(cluster.front());
}

bool isFontFileName(const std::filesystem::path& name) {
    std::string extension = name.extension().string();
    for (char& c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return extension == ".ttf" || extension == ".otf" || extension == ".ttc";
}

}  // namespace

Face::~Face() {
    for (const auto& [key, plan] : shapePlans) hb_shape_plan_destroy(plan);
    hb_font_destroy(harfBuzz);
    if (freeType) FT_Done_Face(freeType);
}

bool covers(const Face& face, std::u32string_view cluster) {
    hb_codepoint_t glyph = 0;
    return std::all_of(cluster.begin(), cluster.end(), [&](char32_t c) {
        return needsNoGlyph(c) || hb_font_get_nominal_glyph(face.harfBuzz, c, &glyph);
    });
}

std::unique_ptr<Face> openFace(FT_Library freeType, FontBytes bytes) {
    auto face = std::make_unique<Face>();
    face->bytes = std::move(bytes);
    const auto* data = reinterpret_cast<const FT_Byte*>(face->bytes.data());
    if (FT_New_Memory_Face(freeType, data, static_cast<FT_Long>(face->bytes.size()), 0, &face->freeType) != 0) {
        face->freeType = nullptr;
        return nullptr;
    }
    FT_Face ft = face->freeType;
    if (!FT_IS_SCALABLE(ft)) {
        // Colour emoji come as bitmaps of one size or a few: the largest is
        // scaled down best.
        if (ft->num_fixed_sizes <= 0) return nullptr;
        int largest = 0;
        for (int i = 1; i < ft->num_fixed_sizes; ++i)
            if (ft->available_sizes[i].height > ft->available_sizes[largest].height) largest = i;
        if (FT_Select_Size(ft, largest) != 0 || ft->available_sizes[largest].height <= 0) return nullptr;
        face->fixedBitmaps = true;
    }
    face->colour = FT_HAS_COLOR(ft);
    hb_blob_t* blob = hb_blob_create(face->bytes.data(), static_cast<unsigned>(face->bytes.size()),
                                     HB_MEMORY_MODE_READONLY, nullptr, nullptr);
    hb_face_t* shapingFace = hb_face_create(blob, 0);
    face->harfBuzz = hb_font_create(shapingFace);
    hb_face_destroy(shapingFace);
    hb_blob_destroy(blob);
    if (hb_face_get_upem(hb_font_get_face(face->harfBuzz)) == 0) return nullptr;
    return face;
}

int ascentOf(const Face& face) {
    hb_font_extents_t extents{};
    hb_font_get_h_extents(face.harfBuzz, &extents);
    return static_cast<int>(std::ceil(extents.ascender / 64.0));
}

int descentOf(const Face& face) {
    hb_font_extents_t extents{};
    hb_font_get_h_extents(face.harfBuzz, &extents);
    return static_cast<int>(std::ceil(-extents.descender / 64.0));
}

FontChainPointer createFontChain(FT_Library freeType, std::vector<char> primary, std::string bundledFolder) {
    std::unique_ptr<Face> face = openFace(freeType, FontBytes{std::move(primary), nullptr});
    // Lines are measured by the primary's outlines.
    if (!face || face->fixedBitmaps) return nullptr;
    FontChainPointer chain(new FontChain);
    chain->freeType = freeType;
    chain->bundledFolder = std::move(bundledFolder);
    chain->faces.push_back(std::move(face));
    return chain;
}

void FontChainDeleter::operator()(FontChain* chain) const { delete chain; }

void FontChain::setPixelSize(float size) {
    if (size == pixelSize) return;
    pixelSize = size;
    Face& primary = *faces.front();
    this->size(primary);
    primaryLineHeight = ascentOf(primary) + descentOf(primary);
    for (std::size_t i = 1; i < faces.size(); ++i) this->size(*faces[i]);
}

void FontChain::size(Face& face) const {
    float em = pixelSize;
    if (face.fixedBitmaps) {
        // The bitmaps' line, ascender to descender, becomes the primary's.
        const FT_Size_Metrics& strike = face.freeType->size->metrics;
        face.bitmapScale = primaryLineHeight * 64.0f / static_cast<float>(std::max<FT_Pos>(strike.height, 64));
        em = static_cast<float>(strike.y_ppem) * face.bitmapScale;
    } else {
        FT_Set_Char_Size(face.freeType, 0, std::lround(em * 64), 72, 72);
    }
    face.pixelSize = em;
    const int scale = static_cast<int>(std::lround(em * 64));
    hb_font_set_scale(face.harfBuzz, scale, scale);
}

void FontChain::beginText() { systemLookupsLeft = systemLookupsPerText; }

int FontChain::faceFor(std::u32string_view cluster) {
    const bool wantColour = wantsColour(cluster);
    if (cluster.size() != 1) return search(cluster, wantColour);
    const std::uint32_t key = static_cast<std::uint32_t>(cluster.front()) | (wantColour ? 0x80000000u : 0);
    if (auto known = chosen.find(key); known != chosen.end()) return known->second;
    // A search cut short by the text's share of lookups may miss a font that
    // a later text finds: only a whole one is remembered.
    const bool whole = systemLookupsLeft > 0;
    const int face = search(cluster, wantColour);
    if (!whole) return face;
    if (chosen.size() >= maxChosen) chosen.clear();
    chosen.emplace(key, face);
    return face;
}

int FontChain::search(std::u32string_view cluster, bool wantColour) {
    // A face without colours that has the characters serves an emoji when no
    // coloured one has them.
    int plain = -1;
    auto serves = [&](int index) {
        if (index < 0 || !covers(*faces[index], cluster)) return false;
        if (!wantColour || faces[index]->colour) return true;
        if (plain < 0) plain = index;
        return false;
    };
    for (std::size_t i = 0; i < faces.size(); ++i)
        if (serves(static_cast<int>(i))) return static_cast<int>(i);
    // Files opened before were tried above.
    auto servesUnopened = [&](const std::string& path) { return !opened.count(path) && serves(open(path)); };
    if (systemLookupsLeft > 0) {
        --systemLookupsLeft;
        for (const std::string& path : platform::systemFontsFor(cluster.front()))
            if (servesUnopened(path)) return static_cast<int>(faces.size()) - 1;
    }
    const std::vector<std::string>& files = bundledFiles();
    while (bundledTried < files.size())
        if (servesUnopened(files[bundledTried++])) return static_cast<int>(faces.size()) - 1;
    return plain >= 0 ? plain : 0;
}

int FontChain::open(const std::string& path) {
    int index = -1;
    if (faces.size() < maxFaces) {
        FontBytes bytes{{}, std::make_unique<platform::MappedFile>(path)};
        if (bytes.data() && bytes.size() <= maxFallbackBytes - fallbackBytes) {
            const std::size_t size = bytes.size();
            if (std::unique_ptr<Face> face = openFace(freeType, std::move(bytes))) {
                fallbackBytes += size;
                this->size(*face);
                faces.push_back(std::move(face));
                index = static_cast<int>(faces.size()) - 1;
            }
        }
    }
    opened.emplace(path, index);
    return index;
}

const std::vector<std::string>& FontChain::bundledFiles() {
    if (bundledListed) return bundled;
    bundledListed = true;
    const std::optional<std::filesystem::path> folder = platform::pathFromUtf8(bundledFolder);
    std::error_code error;
    if (!folder || bundledFolder.empty()) return bundled;
    for (std::filesystem::directory_iterator entry(*folder, error), end; !error && entry != end;
         entry.increment(error)) {
        if (isFontFileName(entry->path()) && entry->is_regular_file(error))
            bundled.push_back(platform::utf8FromPath(entry->path()));
        if (bundled.size() == maxBundledFiles) break;
    }
    std::sort(bundled.begin(), bundled.end());
    return bundled;
}
