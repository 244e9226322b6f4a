#pragma once

#include <string>
#include <vector>

namespace platform {

// Font files of this system that have the character, the best first:
// fontconfig's choice on Linux, the standard UI fonts of its script on
// Windows. Empty when none is known.
std::vector<std::string> systemFontsFor(char32_t character);

}  // namespace platform
