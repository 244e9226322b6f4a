// Debug output and the fatal exit on Windows. Debug output goes to the
// debugger (OutputDebugStringA) and, when the process has one, to standard
// error. A fatal error shows FatalAppExitA's message box only when nobody
// reads standard error: a run started from a console, a pipe or with a
// redirected stderr (tests, CI) gets the line there and ends with status 1 at
// once, so an unattended run never waits on a dialog.
#include "platform/debug_output.h"
#include "platform/system_debug_output.h"

#include <cstring>
#include <windows.h>

namespace platform {
namespace {

// Null when standard error leads nowhere, as for a GUI program that SteamVR
// or Explorer started.
HANDLE standardError() {
    HANDLE handle = GetStdHandle(STD_ERROR_HANDLE);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return nullptr;
    return GetFileType(handle) == FILE_TYPE_UNKNOWN ? nullptr : handle;
}

void writeAll(HANDLE handle, const char* bytes, size_t length) {
    while (length > 0) {
        DWORD written = 0;
        const DWORD chunk = length > 0x10000 ? 0x10000 : static_cast<DWORD>(length);
        if (!WriteFile(handle, bytes, chunk, &written, nullptr) || written == 0) return;
        bytes += written;
        length -= written;
    }
}

// Ends the process without running anyone's clean-up, like _exit.
[[noreturn]] void endProcess(UINT status) {
    TerminateProcess(GetCurrentProcess(), status);
    ExitProcess(status);  // not reached: the process ends inside TerminateProcess
}

}  // namespace

void writeSystemDebugOutput(const char* text) {
    OutputDebugStringA(text);
    if (HANDLE handle = standardError()) writeAll(handle, text, std::strlen(text));
}

void fatalExit(const char* message) {
    if (HANDLE handle = standardError()) {
        writeAll(handle, message, std::strlen(message));
        writeAll(handle, "\n", 1);
        endProcess(1);
    }
    // The documented action value is 0; the box shows the message and ends the process.
    FatalAppExitA(0, message);
    endProcess(1);
}

}  // namespace platform
