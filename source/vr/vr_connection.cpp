#include "vr/vr_connection.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <thread>
#include <vector>

#include "config/settings.h"
#include "gl/render_target.h"
#include "platform/debug_output.h"
#include "platform/file_io.h"
#include "platform/log.h"
#include "vr/watch_overlay.h"
#include "vr/watch_placement.h"
#include "watch/image_texture.h"

namespace {

constexpr char iconFileName[] = "dashboard_overlay.png";

void reverseRows(DecodedImage& image) {
    const std::size_t rowBytes = static_cast<std::size_t>(image.width) * 4;
    unsigned char* pixels = image.pixels.get();
    for (int top = 0, bottom = image.height - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(pixels + top * rowBytes, pixels + (top + 1) * rowBytes, pixels + bottom * rowBytes);
}

// The runtime shows a GL texture's first row at the bottom, which keeps the
// menu and the watch, drawn by OpenGL, upright; a decoded image begins with
// its top row, so the icon goes up with its rows reversed. Without a readable
// image the menu simply has no icon (0).
GLuint loadMenuIcon() {
    std::optional<std::vector<char>> bytes = platform::readFileBytes(iconFileName);
    if (!bytes) return 0;
    std::optional<DecodedImage> image =
        decodeImage(reinterpret_cast<const unsigned char*>(bytes->data()), bytes->size());
    if (!image) return 0;
    reverseRows(*image);
    return uploadDecodedImage(*image);
}

}  // namespace

void waitForRuntime(VrRuntime& runtime) {
    logMessage("Waiting for the VR runtime to start.");
    for (;;) {
        const VrProbe probe = runtime.probe();
        if (probe.answer == VrProbe::Answer::Running) return;
        if (probe.answer == VrProbe::Answer::Failed) platform::fatalExit(probe.failure.c_str());
        std::this_thread::sleep_for(std::chrono::seconds(2));
    }
}

VrStarted startVr(VrRuntime& runtime, const Settings& settings, const RenderTarget& watchTarget,
                  const RenderTarget& menuTarget) {
    VrStart request;
    request.watchTexture = watchTarget.colorTexture;
    request.watchWidth = watchWidthInMeters(settings.placement);
    request.watchShown = settings.watchVisibility == WatchVisibility::Always;
    request.watchHand = watchHand(settings);
    request.menuTexture = menuTarget.colorTexture;
    request.menuIcon = loadMenuIcon();
    VrStarted started = runtime.start(request);
    if (!started.failure.empty()) platform::fatalExit(started.failure.c_str());
    return started;
}
