#pragma once

#include <string>
#include <vector>

struct Settings;

// Maximal runs of non-white-space characters; quotes and backslashes have no
// special meaning.
std::vector<std::string> splitLaunchTokens(const std::string& commandLine);

// What the program does with its run.
enum class LaunchAction { Run, ShowHelp, ShowVersion };

// "--offline" sets offline mode, "--wait" the wait for the runtime, "--help"
// and "--version" ask for their text instead of a run (help first); every
// other token is logged and ignored.
LaunchAction applyLaunchTokens(const std::vector<std::string>& tokens, Settings& settings);

// What --help and --version print.
std::string helpText();
std::string versionText();
