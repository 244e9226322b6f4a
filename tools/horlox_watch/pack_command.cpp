#include <cstdio>
#include <filesystem>

#include "platform/file_io.h"
#include "platform/text_encoding.h"
#include "horlox_watch/commands.h"
#include "horlox_watch/package_archive.h"
#include "horlox_watch/tool_arguments.h"

namespace fs = std::filesystem;

namespace {

const char* const packHelp =
    "Usage: horlox-watch pack FOLDER -o OUT.7z\n"
    "\n"
    "Packs a folder package into a 7z package that the program loads as the\n"
    "same watch: every file below the folder, under its path relative to the\n"
    "folder. The folder must hold a \"config\" file.\n"
    "\n"
    "  -o OUT.7z  the archive to write\n"
    "\n"
    "Exit status: 0 written, 2 the archive could not be made.\n";

}  // namespace

int runPack(const std::vector<std::string>& arguments) {
    const ParsedArguments parsed = parseArguments(arguments, {{}, {"-o"}});
    if (!parsed.error.empty()) return usageError("pack", parsed.error);
    if (parsed.has("--help")) {
        std::fputs(packHelp, stdout);
        return exitDone;
    }
    if (parsed.operands.size() != 1) return usageError("pack", "give exactly one folder");
    if (!parsed.has("-o")) return usageError("pack", "-o is required");
    const std::string& folderName = parsed.operands.front();
    const fs::path folder = platform::pathFromUtf8(folderName).value_or(fs::path());
    const std::string& output = parsed.values.at("-o");

    std::error_code error;
    if (!fs::is_directory(folder, error)) return cannotRun("pack", folderName + " is not a folder");
    if (!fs::is_regular_file(folder / "config", error))
        return cannotRun("pack", folderName + " has no \"config\" file, so it holds no watch");

    const std::vector<std::string> names =
        packageFileNames(folder, platform::pathFromUtf8(output).value_or(fs::path()));
    const PackedArchive archive = packSevenZip(folder, names);
    if (!archive.error.empty()) return cannotRun("pack", archive.error);
    if (!platform::replaceFile(output, archive.bytes)) return cannotRun("pack", "cannot write " + output);
    std::printf("%s: %zu files\n", output.c_str(), names.size());
    return exitDone;
}
