#pragma once

#include <memory>
#include <string>

#include <ft2build.h>
#include FT_FREETYPE_H

struct FontLibraryDone {
    void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
using FontLibrary = std::unique_ptr<FT_LibraryRec_, FontLibraryDone>;

// Readies this process to load and draw watches as the program does, with
// no display server: a current OpenGL 4.3 core context, and the config trace
// kept off standard output. Gives the FreeType library that the watches
// borrow (it must outlive them), or null after saying on standard error why
// the command cannot run.
FontLibrary prepareWatchLoading(const std::string& command);
