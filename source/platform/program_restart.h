#pragma once

// Starting the program anew, as a fresh process: a runtime library that was
// connected once may not connect again in the same process.
namespace platform {

// Runs this very program file again with the same arguments, in the same
// working directory, in place of this process (on Windows as a new process,
// and this one ends with status 0). Returns only when that failed.
void startAnew(char** argv);

}  // namespace platform
