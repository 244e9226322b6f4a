#include "vr/simulated/call_record.h"

#include <cstring>
#include <filesystem>

#include <stb_image_write.h>

#include "platform/file_io.h"
#include "platform/text_encoding.h"

namespace {

void appendBytes(void* context, void* data, int size) {
    static_cast<std::string*>(context)->append(static_cast<const char*>(data),
                                               static_cast<std::size_t>(size));
}

// Overlay keys come from the program, but a file name must not climb out of
// the record folder whatever they hold.
std::string safeFileName(const std::string& name) {
    std::string safe = name;
    for (char& c : safe) {
        bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                     c == '.' || c == '-' || c == '_';
        if (!plain) c = '_';
    }
    if (safe.empty() || safe[0] == '.') safe.insert(0, "_");
    return safe;
}

}  // namespace

bool CallRecord::open(const std::string& recordFolder) {
    std::error_code error;
    if (const std::optional<std::filesystem::path> path = platform::pathFromUtf8(recordFolder))
        std::filesystem::create_directories(*path, error);
    log.reset(platform::openFileForWriting(recordFolder + "/calls.log"));
    folder = recordFolder;
    return log != nullptr;
}

void CallRecord::writeCall(std::uint64_t pass, const std::string& call) {
    if (!log) return;
    std::fprintf(log.get(), "pass %llu: %s\n", static_cast<unsigned long long>(pass), call.c_str());
    std::fflush(log.get());
}

void CallRecord::writeImage(const std::string& name, int width, int height,
                            std::vector<unsigned char> bottomUpRgba) {
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
    if (!log || width <= 0 || height <= 0 ||
        bottomUpRgba.size() != rowBytes * static_cast<std::size_t>(height))
        return;
    std::vector<unsigned char>& onDisk = imagesOnDisk[name];
    if (onDisk == bottomUpRgba) return;

    std::vector<unsigned char> topDown(bottomUpRgba.size());
    for (int row = 0; row < height; ++row)
        std::memcpy(&topDown[static_cast<std::size_t>(row) * rowBytes],
                    &bottomUpRgba[static_cast<std::size_t>(height - 1 - row) * rowBytes], rowBytes);

    std::string png;
    if (!stbi_write_png_to_func(appendBytes, &png, width, height, 4, topDown.data(),
                                static_cast<int>(rowBytes)))
        return;
    // Replaced in one step, so a reader never sees half an image.
    if (platform::replaceFile(folder + "/" + safeFileName(name) + ".png", png))
        onDisk = std::move(bottomUpRgba);
}
