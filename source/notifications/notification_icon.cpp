#include "notifications/notification_icon.h"

#include <cstring>
#include <fcntl.h>
#include <stb_image.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int base64Value(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

bool isPng(const std::uint8_t* data, std::size_t size) {
    static const std::uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return size >= sizeof signature && std::memcmp(data, signature, sizeof signature) == 0;
}

bool isJpeg(const std::uint8_t* data, std::size_t size) {
    return size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> decodeBase64(std::string_view text, std::size_t maxBytes) {
    std::vector<std::uint8_t> bytes;
    std::uint32_t group = 0;
    int bits = 0;
    std::size_t padding = 0;
    for (char c : text) {
        if (c == ' ' || c == '\n' || c == '\r' || c == '\t') continue;
        if (c == '=') {
            ++padding;
            continue;
        }
        const int value = base64Value(c);
        // Nothing may follow the padding.
        if (value < 0 || padding > 0) return std::nullopt;
        group = (group << 6 | value) & 0xFFFFFF;
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            if (bytes.size() == maxBytes) return std::nullopt;
            bytes.push_back(static_cast<std::uint8_t>(group >> bits));
        }
    }
    if (padding > 2 || bits >= 6) return std::nullopt;
    return bytes;
}

std::optional<NotificationIcon> decodeIconImage(const std::uint8_t* data, std::size_t size, std::string& why) {
    if (!isPng(data, size) && !isJpeg(data, size)) {
        why = "not a PNG or JPEG";
        return std::nullopt;
    }
    if (size > maxIconFileBytes) {
        why = "too large";
        return std::nullopt;
    }
    const int length = static_cast<int>(size);
    int width = 0, height = 0, channels = 0;
    if (!stbi_info_from_memory(data, length, &width, &height, &channels)) {
        why = "not decodable";
        return std::nullopt;
    }
    if (width < 1 || height < 1 || width > maxIconSide || height > maxIconSide) {
        why = "larger than 512 x 512 (" + std::to_string(width) + " x " + std::to_string(height) + ")";
        return std::nullopt;
    }
    stbi_uc* pixels = stbi_load_from_memory(data, length, &width, &height, &channels, 4);
    if (!pixels || width > maxIconSide || height > maxIconSide) {
        stbi_image_free(pixels);
        why = "not decodable";
        return std::nullopt;
    }
    NotificationIcon icon{width, height, std::vector<std::uint8_t>(pixels, pixels + std::size_t(width) * height * 4)};
    stbi_image_free(pixels);
    return icon;
}

std::optional<std::vector<std::uint8_t>> readIconFile(const std::string& path, std::string& why) {
    // Opening a FIFO for reading would wait for a writer: not without O_NONBLOCK.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        why = std::strerror(errno);
        return std::nullopt;
    }
    struct stat status {};
    std::optional<std::vector<std::uint8_t>> bytes;
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        why = "not a regular file";
    } else if (status.st_size > static_cast<off_t>(maxIconFileBytes)) {
        why = "larger than 2 MiB";
    } else {
        // One byte more than allowed tells a file that grew meanwhile.
        std::vector<std::uint8_t> buffer(maxIconFileBytes + 1);
        std::size_t filled = 0;
        ssize_t got = 0;
        while (filled < buffer.size() && (got = read(fd, buffer.data() + filled, buffer.size() - filled)) > 0)
            filled += static_cast<std::size_t>(got);
        if (got < 0)
            why = std::strerror(errno);
        else if (filled > maxIconFileBytes)
            why = "larger than 2 MiB";
        else
            bytes.emplace(buffer.begin(), buffer.begin() + filled);
    }
    close(fd);
    return bytes;
}

std::optional<NotificationIcon> iconFromRawPixels(const RawIconPixels& pixels, std::string& why) {
    const int channels = pixels.hasAlpha ? 4 : 3;
    if (pixels.bitsPerSample != 8 || pixels.channels != channels) {
        why = "not 8-bit RGB or RGBA";
        return std::nullopt;
    }
    if (pixels.width < 1 || pixels.height < 1 || pixels.width > maxIconSide || pixels.height > maxIconSide) {
        why = "not 1 to 512 pixels a side";
        return std::nullopt;
    }
    const std::size_t row = std::size_t(pixels.width) * channels;
    if (pixels.rowstride < 0 || std::size_t(pixels.rowstride) < row ||
        std::size_t(pixels.rowstride) > row + 64 ||
        pixels.size < std::size_t(pixels.rowstride) * (pixels.height - 1) + row) {
        why = "rows do not fit the data";
        return std::nullopt;
    }
    NotificationIcon icon{pixels.width, pixels.height, {}};
    icon.rgba.reserve(std::size_t(pixels.width) * pixels.height * 4);
    for (int y = 0; y < pixels.height; ++y) {
        const std::uint8_t* source = pixels.data + std::size_t(y) * pixels.rowstride;
        for (int x = 0; x < pixels.width; ++x, source += channels) {
            icon.rgba.insert(icon.rgba.end(), source, source + 3);
            icon.rgba.push_back(channels == 4 ? source[3] : 0xFF);
        }
    }
    return icon;
}
