// Senders' icons over arbitrary bytes: RGBA pixels filling at most 512 x 512,
// or a reason.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "notifications/notification_icon.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string why;
    const auto icon = decodeIconImage(data, size, why);
    if (!icon) {
        if (why.empty()) std::abort();
        return 0;
    }
    if (icon->width < 1 || icon->height < 1 || icon->width > maxIconSide || icon->height > maxIconSide ||
        icon->rgba.size() != std::size_t(icon->width) * std::size_t(icon->height) * 4)
        std::abort();
    return 0;
}
