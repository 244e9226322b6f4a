#include "ui/menu_font.h"

#include <cstring>
#include <optional>
#include <vector>

#include <ft2build.h>
#include <imgui.h>
#include FT_FREETYPE_H

#include "platform/file_io.h"
#include "platform/log.h"

namespace {

// The menu's labels are printable ASCII; the tilt slider adds the degree sign.
bool hasMenuGlyphs(FT_Face face) {
    for (FT_ULong character = 0x20; character <= 0x7E; ++character)
        if (FT_Get_Char_Index(face, character) == 0) return false;
    return FT_Get_Char_Index(face, 0xB0) != 0;
}

bool fitForMenu(FT_Library freeType, const std::vector<char>& bytes) {
    FT_Face face = nullptr;
    if (FT_New_Memory_Face(freeType, reinterpret_cast<const FT_Byte*>(bytes.data()),
                           static_cast<FT_Long>(bytes.size()), 0, &face) != 0)
        return false;
    // ImGui's builder reads TrueType and OpenType outlines only.
    const bool fit = FT_IS_SFNT(face) && FT_IS_SCALABLE(face) && hasMenuGlyphs(face);
    FT_Done_Face(face);
    return fit;
}

}  // namespace

std::optional<std::vector<char>> readMenuFont(FT_Library freeType, const char* path) {
    std::optional<std::vector<char>> bytes = platform::readFileBytes(path);
    if (!bytes) return std::nullopt;
    if (bytes->empty() || !fitForMenu(freeType, *bytes)) {
        logMessage("The menu font %s cannot be used, the built-in one is shown instead", path);
        return std::nullopt;
    }
    return bytes;
}

void addMenuFont(const std::vector<char>& bytes, float pixelSize) {
    void* copy = IM_ALLOC(bytes.size());
    std::memcpy(copy, bytes.data(), bytes.size());
    ImGui::GetIO().Fonts->AddFontFromMemoryTTF(copy, static_cast<int>(bytes.size()), pixelSize);
}
