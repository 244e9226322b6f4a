#pragma once

#include <string>
#include <vector>

struct Settings;

// The program's arguments joined with single blanks, as one command line.
std::string joinArguments(int argc, const char* const* argv);

// Maximal runs of non-white-space characters; quotes and backslashes have no
// special meaning.
std::vector<std::string> splitLaunchTokens(const std::string& commandLine);

// "--offline" sets offline mode; every other token is logged and ignored.
void applyLaunchTokens(const std::vector<std::string>& tokens, Settings& settings);
