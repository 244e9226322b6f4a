#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "notifications/notification.h"

constexpr int maxIconSide = 512;
constexpr std::size_t maxIconBytes = 256 * 1024;       // an encoded icon, base64-decoded
constexpr std::size_t maxIconFileBytes = 2 * 1024 * 1024;

// Standard base64 (line breaks and blanks between groups allowed); nothing
// when the text is not base64 or decodes to more than maxBytes.
std::optional<std::vector<std::uint8_t>> decodeBase64(std::string_view text, std::size_t maxBytes);

// A PNG or JPEG (known by its first bytes) of at most maxIconSide pixels a
// side, decoded; otherwise nothing, and 'why' says what was wrong. Whatever
// the bytes, it takes milliseconds and a few MiB.
std::optional<NotificationIcon> decodeIconImage(const std::uint8_t* data, std::size_t size, std::string& why);

// A regular file of at most maxIconFileBytes (never a FIFO, device or
// folder, which could stall or never end), read whole.
std::optional<std::vector<std::uint8_t>> readIconFile(const std::string& path, std::string& why);

// Raw pixels as the desktop's image-data hint carries them (iiibiiay): 8 bits
// a sample, 3 or 4 channels, rows 'rowstride' bytes apart.
struct RawIconPixels {
    std::int32_t width = 0, height = 0, rowstride = 0;
    bool hasAlpha = false;
    std::int32_t bitsPerSample = 0, channels = 0;
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
};
std::optional<NotificationIcon> iconFromRawPixels(const RawIconPixels& pixels, std::string& why);
