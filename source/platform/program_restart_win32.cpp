// Starting anew on Windows: the program's own file, with the command line it
// was given, as a new process; this one then ends.
#include "platform/program_restart.h"

#include <string>
#include <vector>

#include <windows.h>

namespace platform {

void startAnew(char**) {
    std::vector<wchar_t> program(32768);
    const DWORD length = GetModuleFileNameW(nullptr, program.data(), static_cast<DWORD>(program.size()));
    if (length == 0 || length >= program.size()) return;
    // CreateProcessW may write into the command line it is given.
    std::wstring commandLine = GetCommandLineW();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(program.data(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started))
        return;
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    ExitProcess(0);
}

}  // namespace platform
