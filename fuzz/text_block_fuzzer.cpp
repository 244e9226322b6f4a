// Text from outside in any script, as senders and packages give it: the
// first bytes choose the size, width and lines, the rest is the text. The
// chain is the program's (Roboto, the system's fonts, the bundled ones) and
// lives across inputs, as it does in the program, so its bounds on opened
// fonts are tried too. The image must have the size the block says.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include <sanitizer/lsan_interface.h>

#include <ft2build.h>
#include FT_FREETYPE_H

#include "platform/file_io.h"
#include "platform/system_fonts.h"
#include "text/text_block.h"

namespace {

FontChain& chain() {
    static FT_Library library = [] {
        FT_Library made = nullptr;
        if (FT_Init_FreeType(&made) != 0) std::abort();
        return made;
    }();
    static FontChainPointer fonts = [] {
        auto bytes = platform::readFileBytes(std::string(HORLOX_RUN_DIR) + "/Roboto-Medium.ttf");
        if (!bytes) std::abort();
        FontChainPointer made = createFontChain(library, std::move(*bytes), std::string(HORLOX_RUN_DIR) + "/fonts");
        if (!made) std::abort();
        return made;
    }();
    return *fonts;
}

}  // namespace

// fontconfig loads its configuration once and keeps it to the end, its
// parts pointing at each other by offsets: a leak check after an input
// cannot follow them and would count them as lost. So it is loaded before
// the inputs, with its allocations left out of the leak checks; whatever an
// input leaks is still found.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const __lsan::ScopedDisabler configurationStays;
    platform::systemFontsFor(U'\U0001F600');
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    TextBlockStyle style;
    style.pixelSize = 4 + data[0] % 60;
    style.maxWidth = 1 + data[1] * 2;
    style.maxLines = 1 + data[2] % 10;
    const std::string_view text(reinterpret_cast<const char*>(data + 3), size - 3);
    const TextBlock block = renderTextBlock(chain(), text, style);
    if (block.width > style.maxWidth || block.lines > style.maxLines ||
        block.rgba.size() != static_cast<std::size_t>(block.width) * block.height * 4)
        std::abort();
    return 0;
}
