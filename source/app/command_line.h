#pragma once

#include <string>
#include <vector>

struct Settings;

// Maximal runs of non-white-space characters; quotes and backslashes have no
// special meaning.
std::vector<std::string> splitLaunchTokens(const std::string& commandLine);

// "--offline" sets offline mode; every other token is logged and ignored.
void applyLaunchTokens(const std::vector<std::string>& tokens, Settings& settings);
