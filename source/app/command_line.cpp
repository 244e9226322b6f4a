#include "app/command_line.h"

#include <cctype>

#include "config/settings.h"
#include "platform/log.h"

std::vector<std::string> splitLaunchTokens(const std::string& commandLine) {
    std::vector<std::string> tokens;
    std::string token;
    for (char c : commandLine) {
        if (std::isspace(static_cast<unsigned char>(c))) {
            if (!token.empty()) tokens.push_back(std::move(token));
            token.clear();
        } else {
            token += c;
        }
    }
    if (!token.empty()) tokens.push_back(std::move(token));
    return tokens;
}

void applyLaunchTokens(const std::vector<std::string>& tokens, Settings& settings) {
    for (const std::string& token : tokens) {
        if (token == "--offline")
            settings.offline = true;
        else
            logMessage("Invalid launch parameter: %s", token.c_str());
    }
}
