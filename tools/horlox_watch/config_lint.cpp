#include "horlox_watch/config_lint.h"

#include <algorithm>
#include <map>
#include <optional>

#include "horlox_watch/shown_data_lint.h"
#include "watch/config_values.h"
#include "watch/config_vocabulary.h"

namespace {

std::string lowerCased(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// The name without blanks and carriage returns around it, in lower case:
// what its author most likely meant.
std::string loosely(const std::string& name) {
    const std::size_t first = name.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    const std::size_t last = name.find_last_not_of(" \t\r");
    return lowerCased(name.substr(first, last - first + 1));
}

// The known name that an unknown one misspells, if any.
std::optional<std::string> meantName(const std::string& name,
                                     const std::vector<std::string>& known) {
    for (const std::string& candidate : known)
        if (loosely(name) == lowerCased(candidate)) return candidate;
    return std::nullopt;
}

std::vector<std::string> sectionNames() {
    std::vector<std::string> names;
    for (const SectionVocabulary& section : watchConfigVocabulary()) names.push_back(section.name);
    return names;
}

// Editors that save UTF-8 or UTF-16 with a mark put it before the first line.
bool beginsWithByteOrderMark(const std::string& text) {
    for (const char* mark : {"\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"})
        if (text.rfind(mark, 0) == 0) return true;
    return false;
}

const SectionVocabulary* vocabularyOf(const std::string& sectionName) {
    for (const SectionVocabulary& section : watchConfigVocabulary())
        if (section.name == sectionName) return &section;
    return nullptr;
}

// A misspelt name is an error: its author meant something that the program
// now ignores. Any other unknown name may be a deliberate note.
Finding ignored(std::size_t line, const std::string& what,
                const std::optional<std::string>& meant) {
    if (!meant) return {Severity::Warning, line, what + " is ignored"};
    return {Severity::Error, line, what + " is ignored; did you mean " + quote(*meant) + "?"};
}

void lintValue(const std::string& key, const std::string& value, std::size_t line,
               std::vector<Finding>& findings) {
    if (!value.empty() && (value.front() == ' ' || value.front() == '\t'))
        findings.push_back(
            {Severity::Warning, line,
             "value of " + quote(key) + " begins with a blank, which the program keeps"});
    if (!value.empty() && value.back() == '\r')
        findings.push_back(
            {Severity::Warning, line,
             "value of " + quote(key) + " ends with a carriage return, which the program keeps"});
}

void lintKeys(const ConfigSection& section, const SectionVocabulary& vocabulary,
              std::vector<Finding>& findings) {
    std::map<std::string, std::size_t> firstLines;
    for (const ConfigKeyLine& keyLine : section.keyLines) {
        const bool known =
            std::count(vocabulary.keys.begin(), vocabulary.keys.end(), keyLine.key) != 0;
        if (!known) {
            findings.push_back(ignored(
                keyLine.line, "key " + quote(keyLine.key) + " in " + quote(":" + section.name),
                meantName(keyLine.key, vocabulary.keys)));
            continue;
        }
        const auto [first, isFirst] = firstLines.emplace(keyLine.key, keyLine.line);
        if (!isFirst) {
            findings.push_back({Severity::Warning, keyLine.line,
                                "key " + quote(keyLine.key) +
                                    " is repeated; the program keeps the value from line " +
                                    std::to_string(first->second)});
            continue;
        }
        lintValue(keyLine.key, section.values.at(keyLine.key), keyLine.line, findings);
    }
}

void lintBinding(const ConfigSection& hand, std::vector<Finding>& findings) {
    if (showsBattery(hand)) return;
    const std::optional<std::string> bind = hand.get("bind");
    if (!bind) {
        findings.push_back(
            {Severity::Warning, hand.line, "':hand' has no 'bind'; the hand stays at twelve"});
    } else if (parseHandBinding(*bind) == HandBinding::None) {
        findings.push_back(
            {Severity::Error, lineOfKey(hand, "bind"),
             "bind value " + quote(*bind) +
                 " matches no hand (HOUR, MINUTE or SECOND); the hand stays at twelve"});
    }
}

void lintTextLength(const ConfigSection& text, std::vector<Finding>& findings) {
    const std::string format = text.get("text", "");
    const std::string kept = boundedText(format);
    if (kept == format) return;
    findings.push_back({Severity::Error, lineOfKey(text, "text"),
                        "text is " + std::to_string(format.size()) +
                            " bytes long; the program keeps only " + quote(kept)});
}

void lintWatchName(const ConfigFile& config, std::vector<Finding>& findings) {
    const ConfigSection* watch = lastWatchSection(config);
    if (!watch)
        findings.push_back(
            {Severity::Error, 0, "there is no ':watch' section, so the watch has no name and the program leaves it out"});
    else if (watch->get("name", "").empty())
        findings.push_back({Severity::Error, lineOfKey(*watch, "name"), "the watch has no name, so the program leaves it out"});
}

}  // namespace

const ConfigSection* lastWatchSection(const ConfigFile& config) {
    const ConfigSection* last = nullptr;
    for (const ConfigSection& section : config.sections)
        if (section.name == "watch") last = &section;
    return last;
}

std::vector<Finding> lintConfig(const ConfigFile& config) {
    std::vector<Finding> findings;
    // The lines before the first section line fill an unnamed section that
    // no watch reads.
    for (const ConfigKeyLine& keyLine : config.sections.front().keyLines) {
        if (keyLine.line == 1 && beginsWithByteOrderMark(keyLine.key))
            findings.push_back({Severity::Error, 1,
                                "the file begins with a byte order mark, which the program reads "
                                "as part of the first line; save it as UTF-8 without one"});
        else
            findings.push_back(
                {Severity::Warning, keyLine.line,
                 "key " + quote(keyLine.key) + " is ignored: it stands before the first section"});
    }

    const ConfigSection* previousWatch = nullptr;
    for (std::size_t index = 1; index < config.sections.size(); ++index) {
        const ConfigSection& section = config.sections[index];
        const SectionVocabulary* vocabulary = vocabularyOf(section.name);
        if (!vocabulary) {
            std::optional<std::string> meant = meantName(section.name, sectionNames());
            if (meant) meant = ":" + *meant;
            findings.push_back(
                ignored(section.line, "section " + quote(":" + section.name), meant));
            continue;
        }
        lintKeys(section, *vocabulary, findings);
        if (section.name == "watch") {
            if (previousWatch)
                findings.push_back({Severity::Warning, section.line,
                                    "section ':watch' is repeated; its name and description "
                                    "replace those from line " +
                                        std::to_string(previousWatch->line)});
            previousWatch = &section;
        } else if (section.name == "hand") {
            lintBinding(section, findings);
            lintShownData(section, findings);
        } else if (section.name == "text") {
            lintTextLength(section, findings);
            lintShownData(section, findings);
        }
    }
    lintWatchName(config, findings);
    sortByLine(findings);
    return findings;
}
