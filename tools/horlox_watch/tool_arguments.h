#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

// The command line of one horlox-watch command, and how a command ends.

constexpr int exitDone = 0;
constexpr int exitFindings = 1;  // the packages hold errors
constexpr int exitCouldNotRun = 2;

struct CommandOptions {
    std::vector<std::string> flags;   // stand alone, such as "--right-hand"
    std::vector<std::string> valued;  // take the next argument, such as "-o"
};

struct ParsedArguments {
    std::vector<std::string> operands;
    std::set<std::string> flags;
    std::map<std::string, std::string> values;
    std::string error;  // what is wrong with the arguments; empty when nothing

    bool has(const std::string& option) const;
};

// "--help" is a flag of every command. Options may come anywhere; "--" ends
// them, so that a package named "-x" can still be given.
ParsedArguments parseArguments(const std::vector<std::string>& arguments,
                               const CommandOptions& options);

// Both say what went wrong on standard error, as "horlox-watch COMMAND: ...",
// and give the exit status of a run that could not do its work; a usage error
// also points to the command's help.
int usageError(const std::string& command, const std::string& message);
int cannotRun(const std::string& command, const std::string& message);
