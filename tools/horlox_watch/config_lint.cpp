#include "horlox_watch/config_lint.h"

#include <algorithm>
#include <map>
#include <optional>

#include "horlox_watch/shown_data_lint.h"
#include "horlox_watch/value_lint.h"
#include "watch/config_values.h"
#include "watch/config_vocabulary.h"

namespace {

// The name without blanks and carriage returns around it, in lower case:
// what its author most likely meant.
std::string loosely(const std::string& name) {
    const std::size_t first = name.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    const std::size_t last = name.find_last_not_of(" \t\r");
    return asciiLowerCased(name.substr(first, last - first + 1));
}

// How many letters must be put in, left out, changed or swapped with their
// neighbour to turn one text into the other.
std::size_t editDistance(const std::string& a, const std::string& b) {
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
    for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i)
        for (std::size_t j = 1; j <= b.size(); ++j) {
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (a[i - 1] != b[j - 1])});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    return d[a.size()][b.size()];
}

// The known name that an unknown one misspells, if any: the nearest that
// differs in case, blanks, or a slip or two of the keys (one in a short name).
std::optional<std::string> meantName(const std::string& name,
                                     const std::vector<std::string>& known) {
    // Longer names are no slip of anyone's fingers, and would cost time to compare.
    constexpr std::size_t longestCompared = 64;
    const std::string written = loosely(name);
    if (written.size() > longestCompared) return std::nullopt;
    std::optional<std::string> nearest;
    std::size_t nearestDistance = 0;
    for (const std::string& candidate : known) {
        const std::size_t slips = candidate.size() <= 4 ? 1 : 2;
        const std::size_t distance = editDistance(written, asciiLowerCased(candidate));
        if (distance <= slips && (!nearest || distance < nearestDistance)) {
            nearest = candidate;
            nearestDistance = distance;
        }
    }
    return nearest;
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
    } else if (*bind != "HOUR" && *bind != "MINUTE" && *bind != "SECOND") {
        const char* readAs = nullptr;
        switch (parseHandBinding(*bind)) {
            case HandBinding::Hour: readAs = "HOUR"; break;
            case HandBinding::Minute: readAs = "MINUTE"; break;
            case HandBinding::Second: readAs = "SECOND"; break;
            case HandBinding::None: break;
        }
        findings.push_back({Severity::Error, lineOfKey(hand, "bind"),
                            "bind value " + quote(*bind) +
                                (readAs ? " is not HOUR, MINUTE or SECOND; the program reads it as " + std::string(readAs)
                                        : " matches no hand (HOUR, MINUTE or SECOND); the hand stays at twelve")});
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
        lintValues(section, findings);
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
