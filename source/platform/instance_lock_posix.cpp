// The run directory's lock on POSIX systems: flock on the lock file. Closed on
// exec, so that neither a program started from ours nor ourselves started
// anew inherits it.
#include "platform/instance_lock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {
namespace {

int lockFile = -1;

}  // namespace

InstanceLock lockInstance(const char* lockFileName) {
    const int fd = open(lockFileName, O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0) return InstanceLock::Unavailable;
    int result;
    do result = flock(fd, LOCK_EX | LOCK_NB);
    while (result != 0 && errno == EINTR);
    if (result != 0) {
        const bool held = errno == EWOULDBLOCK;
        close(fd);
        return held ? InstanceLock::HeldByAnother : InstanceLock::Unavailable;
    }
    lockFile = fd;
    return InstanceLock::Taken;
}

void unlockInstance() {
    if (lockFile >= 0) close(lockFile);
    lockFile = -1;
}

}  // namespace platform
