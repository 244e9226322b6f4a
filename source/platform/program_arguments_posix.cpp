#include "platform/program_arguments.h"

namespace platform {

std::string launchCommandLine(int argc, const char* const* argv) {
    std::string commandLine;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) commandLine += ' ';
        commandLine += argv[i];
    }
    return commandLine;
}

std::vector<std::string> programArguments(int argc, const char* const* argv) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

}  // namespace platform
