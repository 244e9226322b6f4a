#include "horlox_watch/finding.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "platform/text_encoding.h"

void sortByLine(std::vector<Finding>& findings) {
    std::stable_sort(findings.begin(), findings.end(),
                     [](const Finding& a, const Finding& b) { return a.line < b.line; });
}

std::string formatFinding(const std::string& packagePath, const Finding& finding) {
    const std::optional<std::filesystem::path> package = platform::pathFromUtf8(packagePath);
    std::string text = package ? platform::utf8FromPath(*package / "config") : packagePath + "/config";
    if (finding.line != 0) text += ":" + std::to_string(finding.line);
    text += finding.severity == Severity::Error ? ": error: " : ": warning: ";
    return text + finding.message;
}

std::string quote(const std::string& text) {
    std::string result = "'";
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t start = at;
        const std::optional<char32_t> character = platform::decodeUtf8(text, at);
        if (character == U'\r') {
            result += "\\r";
        } else if (character == U'\t') {
            result += "\\t";
        } else if (!character || *character < 0x20 || *character == 0x7F) {
            for (std::size_t byte = start; byte < at; ++byte) {
                char escape[5];
                std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned char>(text[byte]));
                result += escape;
            }
        } else {
            result.append(text, start, at - start);
        }
    }
    return result + "'";
}

std::size_t lineOfKey(const ConfigSection& section, const std::string& key) {
    for (const ConfigKeyLine& keyLine : section.keyLines)
        if (keyLine.key == key) return keyLine.line;
    return section.line;
}
