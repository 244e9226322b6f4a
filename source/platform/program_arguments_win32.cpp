#include "platform/program_arguments.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/text_encoding.h"

namespace platform {

std::string launchCommandLine(int, const char* const*) {
    // The program's name is skipped as Windows' own start-up code skips it: a
    // quoted name up to its closing quote, otherwise up to the first blank.
    const wchar_t* text = GetCommandLineW();
    if (*text == L'"') {
        for (++text; *text && *text != L'"'; ++text) {}
        if (*text) ++text;
    } else {
        while (*text > L' ') ++text;
    }
    while (*text == L' ' || *text == L'\t') ++text;
    return utf8FromWide(text).value_or(std::string());
}

std::vector<std::string> programArguments(int, const char* const*) {
    std::vector<std::string> arguments;
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide) return arguments;
    for (int i = 1; i < count; ++i) arguments.push_back(utf8FromWide(wide[i]).value_or(std::string()));
    LocalFree(wide);
    return arguments;
}

}  // namespace platform
