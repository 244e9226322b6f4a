#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The line-based text format of "settings.conf" and of every package's
// "config": ':name' opens a section, any other non-blank line is 'key=value'.
// A line ends at LF or at CR LF, as editors on Windows save it. Other bytes
// pass through unchanged; no character set is decoded.

// One key line as it stood in the text, for tools that point an author at it.
struct ConfigKeyLine {
    std::string key;
    std::size_t line = 0;  // counted from 1
};

struct ConfigSection {
    std::string name;
    // Byte-wise ordered; a key keeps the value of its first line.
    std::map<std::string, std::string> values;
    // The line of the section's ':name', 0 for the unnamed first section.
    std::size_t line = 0;
    // Every key line of the section in file order, repeated keys included,
    // though only the first of them gave a value.
    std::vector<ConfigKeyLine> keyLines;

    std::optional<std::string> get(const std::string& key) const;
    // A key that is present with an empty value yields the empty text.
    std::string get(const std::string& key, std::string fallback) const;
};

struct ConfigFile {
    // Element 0 is the unnamed section that holds the lines before the first
    // section line; it is there even when empty. Repeated names stay separate.
    std::vector<ConfigSection> sections;
};

// Never fails: text that fits no other rule is a key line.
ConfigFile parseConfig(const char* begin, const char* end);

// True for a text starting with '1' or with the whole word "true" in any case.
bool parseBool(std::string_view text);

// True for the words that say a switch's state plainly: "true", "false",
// "1" or "0", in any case. parseBool reads other texts by their leading bytes.
bool isPlainBool(std::string_view text);

// The text with A to Z in lower case and every other byte as it is.
std::string asciiLowerCased(std::string_view text);

// Drops leading and trailing spaces and tabs, nothing else.
std::string_view trimBlanks(std::string_view text);
