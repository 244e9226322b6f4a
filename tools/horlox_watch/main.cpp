// horlox-watch: tools for watch package authors, on the program's own
// loader and renderer.
#include <cstdio>
#include <string>
#include <vector>

#include "horlox_watch/commands.h"
#include "horlox_watch/tool_arguments.h"
#include "platform/program_arguments.h"

namespace {

const char* const toolHelp =
    "Usage: horlox-watch COMMAND [ARGUMENTS]\n"
    "\n"
    "Tools for authors of Horlox watch packages.\n"
    "\n"
    "  check PACKAGE...                         report what the program would ignore\n"
    "                                           or leave out\n"
    "  render PACKAGE --time HH:MM:SS -o OUT.png\n"
    "                                           draw the watch as the overlay shows it\n"
    "  pack FOLDER -o OUT.7z                    make a 7z package of a folder\n"
    "\n"
    "'horlox-watch COMMAND --help' tells more about each.\n";

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> arguments = platform::programArguments(argc, argv);
    if (arguments.empty()) {
        std::fputs(toolHelp, stderr);
        return exitCouldNotRun;
    }
    const std::string command = arguments.front();
    arguments.erase(arguments.begin());
    if (command == "check") return runCheck(arguments);
    if (command == "render") return runRender(arguments);
    if (command == "pack") return runPack(arguments);
    if (command == "--help") {
        std::fputs(toolHelp, stdout);
        return exitDone;
    }
    std::fprintf(stderr, "horlox-watch: unknown command '%s'\n\n%s", command.c_str(), toolHelp);
    return exitCouldNotRun;
}
