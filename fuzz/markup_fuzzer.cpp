// The markup stripping and text cleaning over arbitrary bytes: the result
// is valid UTF-8 without controls or bidirectional overrides, within its
// length, and cleaning it again changes nothing.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "notification_invariants.h"
#include "notifications/plain_text.h"

namespace {

bool hasBidiControl(const std::string& text) {
    for (const char* control : {"\u061C", "\u200E", "\u200F", "\u202A", "\u202B", "\u202C", "\u202D", "\u202E",
                                "\u2066", "\u2067", "\u2068", "\u2069"})
        if (text.find(control) != std::string::npos) return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const std::string& text : {plainTextFromMarkup(bytes, maxContentCharacters), plainText(bytes, maxTitleCharacters)}) {
        if (utf8Characters(text) > maxContentCharacters || hasBidiControl(text)) std::abort();
        if (plainText(text, maxContentCharacters) != text) std::abort();
    }
    if (validUtf8(validUtf8(bytes)) != validUtf8(bytes)) std::abort();
    return 0;
}
