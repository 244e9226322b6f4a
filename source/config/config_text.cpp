#include "config/config_text.h"

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// A line without '=' is its own key and value, so a bare word like
// "CONTINUOUS" can serve as a flag.
void addKeyLine(std::string_view line, std::size_t lineNumber, ConfigSection& section) {
    std::size_t equals = line.find('=');
    std::string_view key = equals == std::string_view::npos ? line : trimBlanks(line.substr(0, equals));
    std::string_view value = equals == std::string_view::npos ? line : line.substr(equals + 1);
    // try_emplace leaves an existing key alone: the first line of a key wins.
    section.values.try_emplace(std::string(key), value);
    section.keyLines.push_back(ConfigKeyLine{std::string(key), lineNumber});
}

}  // namespace

std::optional<std::string> ConfigSection::get(const std::string& key) const {
    auto found = values.find(key);
    if (found == values.end()) return std::nullopt;
    return found->second;
}

std::string ConfigSection::get(const std::string& key, std::string fallback) const {
    return get(key).value_or(std::move(fallback));
}

ConfigFile parseConfig(const char* begin, const char* end) {
    ConfigFile config;
    config.sections.emplace_back();
    std::string_view rest(begin, static_cast<std::size_t>(end - begin));
    std::size_t lineNumber = 0;
    while (!rest.empty()) {
        std::size_t lineFeed = rest.find('\n');
        std::string_view line = rest.substr(0, lineFeed);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        line = trimBlanks(line);
        rest.remove_prefix(lineFeed == std::string_view::npos ? rest.size() : lineFeed + 1);
        ++lineNumber;

        if (line.empty()) continue;
        if (line.front() == ':') {
            ConfigSection& section = config.sections.emplace_back();
            section.name = line.substr(1);
            section.line = lineNumber;
            continue;
        }
        addKeyLine(line, lineNumber, config.sections.back());
    }
    return config;
}

bool parseBool(std::string_view text) {
    if (text.empty()) return false;
    if (text.front() == '0' || text.front() == '1') return text.front() == '1';
    // Only the whole word counts: 't' or 'tru' is no more a yes than 'yes' is.
    constexpr std::string_view word = "true";
    if (text.size() < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (asciiLower(text[i]) != word[i]) return false;
    }
    return true;
}

bool isPlainBool(std::string_view text) {
    const std::string word = asciiLowerCased(text);
    return word == "true" || word == "false" || word == "1" || word == "0";
}

std::string asciiLowerCased(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = asciiLower(c);
    return lower;
}

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}
