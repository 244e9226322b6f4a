#include "horlox_watch/tool_arguments.h"

#include <algorithm>
#include <cstdio>

namespace {

bool contains(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// A lone "-" names standard input in many tools; here it is just an operand.
bool looksLikeOption(const std::string& argument) {
    return argument.size() > 1 && argument[0] == '-';
}

}  // namespace

bool ParsedArguments::has(const std::string& option) const {
    return flags.count(option) != 0 || values.count(option) != 0;
}

ParsedArguments parseArguments(const std::vector<std::string>& arguments,
                               const CommandOptions& options) {
    ParsedArguments parsed;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size() && parsed.error.empty(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || !looksLikeOption(argument)) {
            parsed.operands.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--help" || contains(options.flags, argument)) {
            parsed.flags.insert(argument);
        } else if (!contains(options.valued, argument)) {
            parsed.error = "unknown option '" + argument + "'";
        } else if (i + 1 == arguments.size()) {
            parsed.error = "option '" + argument + "' needs a value";
        } else if (!parsed.values.emplace(argument, arguments[i + 1]).second) {
            parsed.error = "option '" + argument + "' is given twice";
        } else {
            ++i;
        }
    }
    return parsed;
}

int usageError(const std::string& command, const std::string& message) {
    std::fprintf(stderr, "horlox-watch %s: %s\nTry 'horlox-watch %s --help'.\n", command.c_str(),
                 message.c_str(), command.c_str());
    return exitCouldNotRun;
}

int cannotRun(const std::string& command, const std::string& message) {
    std::fprintf(stderr, "horlox-watch %s: %s\n", command.c_str(), message.c_str());
    return exitCouldNotRun;
}
