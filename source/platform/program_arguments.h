#pragma once

#include <string>
#include <vector>

// What the program was started with, as UTF-8 text. On Windows both come
// from the wide command line: argv holds the arguments in the ANSI code page.
namespace platform {

// The command line after the program's own name: on Windows the text as the
// system hands it over, quotes included, as WinMain receives it; on POSIX the
// arguments joined with single blanks.
std::string launchCommandLine(int argc, const char* const* argv);

// The arguments after the program's own name, one string each.
std::vector<std::string> programArguments(int argc, const char* const* argv);

}  // namespace platform
