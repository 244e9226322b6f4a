#pragma once

// One copy of the program per run directory: a lock on a file there, which
// the system lets go of when the process ends, however it ends (a crash or a
// kill leaves nothing locked).
namespace platform {

enum class InstanceLock { Taken, HeldByAnother, Unavailable };

// Opens (creating it when needed) and locks the file; Unavailable when it
// cannot be opened at all, such as in a read-only folder. The lock is held
// until the process ends or unlockInstance.
InstanceLock lockInstance(const char* lockFileName);

// Lets go of the lock, for a program about to start itself anew.
void unlockInstance();

}  // namespace platform
