#pragma once

#include <optional>
#include <vector>

typedef struct FT_LibraryRec_* FT_Library;

// The menu's font, taken only when it is fit for the menu: FreeType opens it
// as a face that has every glyph the menu draws. A damaged, empty or foreign
// file would stop Dear ImGui's font builder; such a file is refused with one
// log line, and the menu keeps ImGui's own font. A missing file is refused
// without a word.
std::optional<std::vector<char>> readMenuFont(FT_Library freeType, const char* path);

// Adds the font read so to the current ImGui context at that size; the
// context's atlas keeps a copy of its own.
void addMenuFont(const std::vector<char>& bytes, float pixelSize);
