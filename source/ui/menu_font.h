#pragma once

typedef struct FT_LibraryRec_* FT_Library;

// The menu's font, taken only when it is fit for the menu: FreeType opens it
// as a face that has every glyph the menu draws. A damaged, empty or foreign
// file would stop Dear ImGui's font builder; such a file is refused with one
// log line and the menu keeps ImGui's own font. A missing file is refused
// without a word. Needs a current ImGui context; true when added.
bool addMenuFont(FT_Library freeType, const char* path, float pixelSize);
