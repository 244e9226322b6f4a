#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "config/config_text.h"

// One thing that the program reads otherwise than a package's author wrote
// it, or does not read at all.

enum class Severity { Warning, Error };

struct Finding {
    Severity severity = Severity::Error;
    std::size_t line = 0;  // in the package's "config"; 0 for the file as a whole
    std::string message;
};

// Stable: findings of one line keep their order.
void sortByLine(std::vector<Finding>& findings);

// "PACKAGE/config:LINE: error: MESSAGE", without ":LINE" for line 0.
std::string formatFinding(const std::string& packagePath, const Finding& finding);

// The text in single quotes, with carriage returns, tabs, other control
// bytes and bytes that are no UTF-8 written as escapes, so that a finding
// stays on one readable line.
std::string quote(const std::string& text);

// The line of the key's first occurrence in the section, or of the section
// itself when the key is absent.
std::size_t lineOfKey(const ConfigSection& section, const std::string& key);
