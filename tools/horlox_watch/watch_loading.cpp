#include "horlox_watch/watch_loading.h"

#include "gl/headless_bootstrap.h"
#include "horlox_watch/tool_arguments.h"

FontLibrary prepareWatchLoading(const std::string& command) {
    if (!bootstrapHeadlessGlContext()) {
        cannotRun(command, "cannot create a headless OpenGL 4.3 context");
        return nullptr;
    }
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        cannotRun(command, "cannot start FreeType");
        return nullptr;
    }
    return FontLibrary(library);
}
