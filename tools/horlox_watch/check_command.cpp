#include <cstdio>
#include <filesystem>

#include "horlox_watch/commands.h"
#include "horlox_watch/package_check.h"
#include "horlox_watch/tool_arguments.h"
#include "horlox_watch/watch_loading.h"
#include "platform/text_encoding.h"

namespace {

const char* const checkHelp =
    "Usage: horlox-watch check [--warnings-as-errors] PACKAGE...\n"
    "\n"
    "Loads each watch package (a folder or a 7z archive) with the program's own\n"
    "loader and reports, one line each, what the program would ignore, read\n"
    "otherwise than written, or leave out:\n"
    "  PACKAGE/config:LINE: error: MESSAGE\n"
    "  PACKAGE/config:LINE: warning: MESSAGE\n"
    "A clean package prints nothing.\n"
    "\n"
    "  --warnings-as-errors  let warnings fail the check as well\n"
    "\n"
    "Exit status: 0 clean, 1 errors found, 2 the check could not run.\n";

}  // namespace

int runCheck(const std::vector<std::string>& arguments) {
    const ParsedArguments parsed = parseArguments(arguments, {{"--warnings-as-errors"}, {}});
    if (!parsed.error.empty()) return usageError("check", parsed.error);
    if (parsed.has("--help")) {
        std::fputs(checkHelp, stdout);
        return exitDone;
    }
    if (parsed.operands.empty()) return usageError("check", "no package given");
    for (const std::string& package : parsed.operands) {
        std::error_code error;
        const std::optional<std::filesystem::path> path = platform::pathFromUtf8(package);
        if (!path || !std::filesystem::exists(*path, error))
            return cannotRun("check", "no such package: " + package);
    }

    const FontLibrary fontLibrary = prepareWatchLoading("check");
    if (!fontLibrary) return exitCouldNotRun;
    std::vector<PackageCheck> checks;
    for (const std::string& package : parsed.operands) {
        Watch watch;
        watch.fontLibrary = fontLibrary.get();
        checks.push_back(checkPackage(package, watch));
    }
    reportDuplicateNames(checks);

    bool failed = false;
    for (const PackageCheck& check : checks)
        for (const Finding& finding : check.findings) {
            std::printf("%s\n", formatFinding(check.packagePath, finding).c_str());
            failed |= finding.severity == Severity::Error || parsed.has("--warnings-as-errors");
        }
    return failed ? exitFindings : exitDone;
}
