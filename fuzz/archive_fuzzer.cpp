// ArchiveFileProvider over arbitrary bytes as a 7z package.
#include <cstdint>

#include "packages/archive_file_provider.h"
#include "scratch_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ScratchFile archive;
    archive.replaceContents(data, size);
    // Smaller limits than the program's keep each run quick; the checks are the same.
    ArchiveFileProvider provider(archive.path(), ArchiveLimits{std::uint64_t{16} << 20, 1000});
    for (const char* name : {"config", "dial.png", "font.ttf"}) provider.getFile(name);
    return 0;
}
