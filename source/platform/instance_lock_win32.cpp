// The run directory's lock on Windows: the lock file opened with no sharing,
// which no other process can open until ours closes it or ends.
#include "platform/instance_lock.h"

#include <optional>
#include <string>

#include <windows.h>

#include "platform/text_encoding.h"

namespace platform {
namespace {

HANDLE lockFile = INVALID_HANDLE_VALUE;

}  // namespace

InstanceLock lockInstance(const char* lockFileName) {
    const std::optional<std::wstring> name = wideFromUtf8(lockFileName);
    if (!name) return InstanceLock::Unavailable;
    // Not inherited by the processes we start.
    const HANDLE file = CreateFileW(name->c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_SHARING_VIOLATION ? InstanceLock::HeldByAnother : InstanceLock::Unavailable;
    lockFile = file;
    return InstanceLock::Taken;
}

void unlockInstance() {
    if (lockFile != INVALID_HANDLE_VALUE) CloseHandle(lockFile);
    lockFile = INVALID_HANDLE_VALUE;
}

}  // namespace platform
