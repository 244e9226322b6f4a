#pragma once

// The debugger output channel and the one fatal exit of the program.
// On Linux the debugger output is the process's standard error, unbuffered;
// on Windows it is OutputDebugStringA and standard error when there is one.
namespace platform {

// Writes the text's bytes unchanged. Safe to call from any thread.
void writeDebugOutput(const char* text);

// Tests capture the debugger output by swapping its sink; null restores stderr.
using DebugOutputSink = void (*)(const char* text);
void setDebugOutputSink(DebugOutputSink sink);

// Prints the message as one line on stderr and ends the process with status 1
// at once, without any clean-up. On Windows without a standard error (as
// SteamVR starts the program) FatalAppExitA shows the message instead.
[[noreturn]] void fatalExit(const char* message);

}  // namespace platform
