// Starting anew on Linux: exec of /proc/self/exe keeps the process, its
// working directory and environment, and swaps in a fresh image of the same
// file, even one started through a relative name.
#include "platform/program_restart.h"

#include <unistd.h>

namespace platform {

void startAnew(char** argv) { execv("/proc/self/exe", argv); }

}  // namespace platform
