// parseConfig over arbitrary bytes: every input must parse, and what it
// yields must hold the format's promises.
#include <cstdint>
#include <cstdlib>

#include "config/config_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const char* begin = reinterpret_cast<const char*>(data);
    const ConfigFile config = parseConfig(begin, begin + size);
    if (config.sections.empty() || !config.sections[0].name.empty()) std::abort();
    for (const ConfigSection& section : config.sections) {
        for (const auto& [key, value] : section.values) {
            // Keys are trimmed; values hold no line feed.
            if (trimBlanks(key).size() != key.size()) std::abort();
            if (value.find('\n') != std::string::npos) std::abort();
            parseBool(value);
        }
    }
    return 0;
}
