// Opening and replacing files on Windows, by UTF-8 names: the wide Win32
// calls take every name, the narrow ones only those of the ANSI code page.
#include "platform/file_io.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "platform/text_encoding.h"

namespace platform {
namespace {

// A name with a NUL character would silently open a shorter name.
std::optional<std::wstring> usablePath(const std::string& path) {
    if (path.empty() || path.find('\0') != std::string::npos) return std::nullopt;
    return wideFromUtf8(path);
}

bool writeAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = bytes.size() > (1u << 20) ? (1u << 20) : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
        bytes.remove_prefix(written);
    }
    return true;
}

// The system's reason in the words a user knows best.
std::string reasonOf(DWORD error) {
    if (error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL) return "the disk is full";
    if (error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT) return "its folder is read-only";
    if (error == ERROR_PATH_NOT_FOUND) return "its folder does not exist";
    return "Windows error " + std::to_string(error);
}

}  // namespace

FileDescriptor openRegularFile(const std::string& path) {
    const std::optional<std::wstring> name = usablePath(path);
    if (!name) return FileDescriptor(-1);
    // Others may go on reading, writing or renaming the file meanwhile, as on POSIX.
    HANDLE file = CreateFileW(name->c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return FileDescriptor(-1);
    // Consoles ("CON"), devices ("NUL", "COM1") and pipes are no files of ours.
    if (GetFileType(file) != FILE_TYPE_DISK) {
        CloseHandle(file);
        return FileDescriptor(-1);
    }
    // The C runtime's descriptor owns the handle from here on.
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_RDONLY);
    if (fd < 0) CloseHandle(file);
    return FileDescriptor(fd);
}

MappedFile::MappedFile(const std::string& path) {
    const FileDescriptor file = openRegularFile(path);
    if (!file.isOpen()) return;
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(file.get()));
    LARGE_INTEGER size;
    if (!GetFileSizeEx(handle, &size) || size.QuadPart <= 0) return;
    // The view keeps the mapping, and the mapping the file, for as long as it lives.
    HANDLE mapping = CreateFileMappingW(handle, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (!mapping) return;
    const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
    CloseHandle(mapping);
    if (!view) return;
    address = static_cast<const char*>(view);
    length = static_cast<std::size_t>(size.QuadPart);
}

MappedFile::~MappedFile() {
    if (address) UnmapViewOfFile(address);
}

std::FILE* openFileForWriting(const std::string& path) {
    const std::optional<std::wstring> name = usablePath(path);
    return name ? _wfopen(name->c_str(), L"wb") : nullptr;
}

bool replaceFile(const std::string& path, std::string_view bytes, std::string* whyNot) {
    auto failed = [&](const std::string& reason) {
        if (whyNot) *whyNot = path + reason;
        return false;
    };
    const std::optional<std::wstring> name = usablePath(path);
    if (!name) return failed(" is no usable file name");
    const DWORD attributes = GetFileAttributesW(name->c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) return failed(" is a directory");
        if (attributes & FILE_ATTRIBUTE_READONLY) return failed(" is read-only");
    }
    const std::wstring temporaryName = *name + L".tmp";
    // A left-over temporary file (or a link planted there) goes first, and the
    // new one is created afresh, never opened through whatever stood there.
    DeleteFileW(temporaryName.c_str());
    HANDLE file = CreateFileW(temporaryName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr);
    if (file == INVALID_HANDLE_VALUE) return failed(" cannot be written: " + reasonOf(GetLastError()));
    // Flushed before the rename, so the name never points at bytes still in flight.
    bool complete = writeAll(file, bytes) && FlushFileBuffers(file);
    DWORD error = GetLastError();
    complete = CloseHandle(file) && complete;
    if (complete && MoveFileExW(temporaryName.c_str(), name->c_str(),
                                MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return true;
    }
    if (complete) error = GetLastError();
    DeleteFileW(temporaryName.c_str());
    return failed(" cannot be written: " + reasonOf(error));
}

}  // namespace platform
