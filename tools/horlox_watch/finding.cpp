#include "horlox_watch/finding.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

void sortByLine(std::vector<Finding>& findings) {
    std::stable_sort(findings.begin(), findings.end(),
                     [](const Finding& a, const Finding& b) { return a.line < b.line; });
}

std::string formatFinding(const std::string& packagePath, const Finding& finding) {
    std::string text = (std::filesystem::path(packagePath) / "config").string();
    if (finding.line != 0) text += ":" + std::to_string(finding.line);
    text += finding.severity == Severity::Error ? ": error: " : ": warning: ";
    return text + finding.message;
}

std::string quote(const std::string& text) {
    std::string result = "'";
    for (unsigned char c : text) {
        if (c == '\r') {
            result += "\\r";
        } else if (c == '\t') {
            result += "\\t";
        } else if (c < 0x20 || c == 0x7F) {
            char escape[5];
            std::snprintf(escape, sizeof escape, "\\x%02X", c);
            result += escape;
        } else {
            result += static_cast<char>(c);
        }
    }
    return result + "'";
}

std::size_t lineOfKey(const ConfigSection& section, const std::string& key) {
    for (const ConfigKeyLine& keyLine : section.keyLines)
        if (keyLine.key == key) return keyLine.line;
    return section.line;
}
