#include <cstdio>
#include <filesystem>
#include <optional>

#include "platform/file_io.h"
#include "platform/text_encoding.h"
#include "config/settings.h"
#include "horlox_watch/battery_argument.h"
#include "horlox_watch/commands.h"
#include "horlox_watch/package_check.h"
#include "horlox_watch/render_time.h"
#include "horlox_watch/tool_arguments.h"
#include "horlox_watch/watch_loading.h"
#include "horlox_watch/watch_snapshot.h"

namespace {

constexpr int maxScale = 16;

const char* const renderHelp =
    "Usage: horlox-watch render PACKAGE --time HH:MM:SS [--date YYYY-MM-DD]\n"
    "                          [--local-zone NAME] [--battery LIST]\n"
    "                          [--right-hand] [--scale N] -o OUT.png\n"
    "\n"
    "Draws the watch of the package (a folder or a 7z archive) exactly as the\n"
    "program hands it to the VR overlay at that moment: 256 x 256 pixels on a\n"
    "transparent background. Needs no display: it draws with a headless\n"
    "OpenGL context. A package with errors, as check names them, is not\n"
    "drawn: its errors are printed instead.\n"
    "\n"
    "  --time HH:MM:SS    the local time of day, on the 24-hour clock\n"
    "  --date YYYY-MM-DD  the date for texts that show it (default: today)\n"
    "  --local-zone NAME  the time zone that --time and --date are read in, such\n"
    "                     as Asia/Tokyo (default: the machine's own)\n"
    "  --battery LIST     the batteries that the watch shows, such as\n"
    "                     left=0.8,right=0.15+charging,hmd=absent: a charge from\n"
    "                     0 to 1, '+charging' while it charges, or 'absent'\n"
    "                     (default: every device absent, as offline)\n"
    "  --right-hand       worn on the right hand: faces with mirrorOnRight mirror\n"
    "  --scale N          enlarge every pixel to N x N (1 to 16, default 1), for a\n"
    "                     closer look at the very pixels the overlay gets\n"
    "  -o OUT.png         the image to write\n"
    "\n"
    "Exit status: 0 written, 1 the package has errors, 2 the image could not be\n"
    "made.\n";

struct RenderRequest {
    std::string package;
    WatchReadings readings;
    Settings settings;
    int scale = 1;
    std::string output;
    std::string error;  // the usage error that the arguments give; empty when none
};

std::optional<int> parseScale(const std::string& text) {
    if (text.empty() || text.size() > 2 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const int scale = std::stoi(text);
    if (scale < 1 || scale > maxScale) return std::nullopt;
    return scale;
}

RenderRequest readRequest(const ParsedArguments& parsed) {
    RenderRequest request;
    if (parsed.operands.size() != 1) {
        request.error = "give exactly one package";
        return request;
    }
    if (!parsed.has("--time") || !parsed.has("-o")) {
        request.error = "--time and -o are required";
        return request;
    }
    const std::string& timeText = parsed.values.at("--time");
    const std::optional<ClockTime> time = parseClockTime(timeText);
    if (!time) {
        request.error = "--time wants HH:MM:SS on the 24-hour clock, not '" + timeText + "'";
        return request;
    }
    const TimeZone* localZone = nullptr;
    if (parsed.has("--local-zone")) {
        localZone = findTimeZone(parsed.values.at("--local-zone"));
        if (!localZone) {
            request.error = "--local-zone names no time zone of the system's tz database: '" +
                            parsed.values.at("--local-zone") + "'";
            return request;
        }
    }
    std::optional<CalendarDate> date = localZone ? todayIn(*localZone) : today();
    if (parsed.has("--date")) date = parseCalendarDate(parsed.values.at("--date"));
    if (!date) {
        request.error =
            "--date wants an existing date as YYYY-MM-DD, not '" + parsed.values.at("--date") + "'";
        return request;
    }
    std::optional<int> scale = 1;
    if (parsed.has("--scale")) scale = parseScale(parsed.values.at("--scale"));
    if (!scale) {
        request.error = "--scale wants a whole number from 1 to " + std::to_string(maxScale) +
                        ", not '" + parsed.values.at("--scale") + "'";
        return request;
    }
    std::optional<WatchReadings> readings = readingsAt(*date, *time, localZone);
    if (!readings) {
        request.error = "--time " + timeText + " does not exist on that day in " +
                        parsed.values.at("--local-zone") + ": the clocks skip it";
        return request;
    }
    if (parsed.has("--battery")) {
        const std::optional<DeviceBatteries> batteries =
            parseBatteryArgument(parsed.values.at("--battery"), request.error);
        if (!batteries) return request;
        readings->batteries = *batteries;
    }
    request.package = parsed.operands.front();
    request.readings = *readings;
    request.settings.watchOnRightHand = parsed.has("--right-hand");
    request.scale = *scale;
    request.output = parsed.values.at("-o");
    return request;
}

}  // namespace

int runRender(const std::vector<std::string>& arguments) {
    const ParsedArguments parsed =
        parseArguments(arguments, {{"--right-hand"},
                                   {"--time", "--date", "--local-zone", "--battery", "--scale", "-o"}});
    if (!parsed.error.empty()) return usageError("render", parsed.error);
    if (parsed.has("--help")) {
        std::fputs(renderHelp, stdout);
        return exitDone;
    }
    const RenderRequest request = readRequest(parsed);
    if (!request.error.empty()) return usageError("render", request.error);
    std::error_code missing;
    const std::optional<std::filesystem::path> package = platform::pathFromUtf8(request.package);
    if (!package || !std::filesystem::exists(*package, missing))
        return cannotRun("render", "no such package: " + request.package);

    const FontLibrary fontLibrary = prepareWatchLoading("render");
    if (!fontLibrary) return exitCouldNotRun;
    // A picture of a broken package would show a watch that its author did not mean.
    Watch watch;
    watch.fontLibrary = fontLibrary.get();
    const PackageCheck check = checkPackage(request.package, watch);
    bool broken = false;
    for (const Finding& finding : check.findings)
        if (finding.severity == Severity::Error) {
            std::fprintf(stderr, "%s\n", formatFinding(check.packagePath, finding).c_str());
            broken = true;
        }
    if (broken) {
        std::fprintf(stderr, "horlox-watch render: the package has errors, so nothing was drawn\n");
        return exitFindings;
    }
    const RgbaImage image = drawWatchImage(createRenderTarget(watchImageSide, watchImageSide),
                                           watch, request.readings, request.settings);
    if (!platform::replaceFile(request.output, encodePng(enlarged(image, request.scale))))
        return cannotRun("render", "cannot write " + request.output);
    return exitDone;
}
