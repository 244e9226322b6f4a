// Settings::load of a "settings.conf" holding arbitrary bytes.
#include <cstdint>
#include <cstdlib>

#include "config/settings.h"
#include "scratch_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ScratchFile settingsFile;
    settingsFile.replaceContents(data, size);
    Settings settings;
    settings.load(settingsFile.path());
    // The name is the value after '=' on one line: it can never hold a line feed.
    if (settings.initialWatchName.find('\n') != std::string::npos) std::abort();
    // Whatever the file says, the placement stays within what the menu offers.
    const WristPlacement& fit = settings.placement;
    if (!(fit.widthCm >= minWatchWidthCm && fit.widthCm <= maxWatchWidthCm &&
          fit.offsetCm >= -maxWatchOffsetCm && fit.offsetCm <= maxWatchOffsetCm &&
          fit.tiltDegrees >= -maxWatchTiltDegrees && fit.tiltDegrees <= maxWatchTiltDegrees))
        std::abort();
    return 0;
}
