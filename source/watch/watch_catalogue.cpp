#include "watch/watch_catalogue.h"

#include <filesystem>

#include "config/settings.h"
#include "packages/open_package.h"
#include "platform/debug_output.h"
#include "platform/log.h"
#include "platform/text_encoding.h"
#include "watch/package_config.h"
#include "watch/watch_loader.h"

namespace {

WatchListing readListing(const std::string& packagePath) {
    const std::unique_ptr<FileProvider> package = openPackage(packagePath);
    WatchTitle title = readWatchTitle(readPackageConfig(*package));
    return {std::move(title.name), std::move(title.description), packagePath};
}

}  // namespace

WatchCatalogue::WatchCatalogue(Settings& settings, FT_Library fontLibrary,
                               const std::string& watchesFolder, FontChain* fallbackFonts)
    : fontLibrary(fontLibrary), fallbackFonts(fallbackFonts) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path folder = platform::pathFromUtf8(watchesFolder).value_or(fs::path());
    // A listing that fails part way keeps the watches read so far.
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        WatchListing listing =
            readListing(watchesFolder + "/" + platform::utf8FromPath(entry->path().filename()));
        if (listing.name.empty()) {
            logMessage("No watch is named by this package's config, left out: %s",
                       listing.packagePath.c_str());
            continue;
        }
        const auto [kept, isNew] = listings.try_emplace(listing.name, listing);
        if (!isNew)
            logMessage("Watch package %s names its watch \"%s\" as %s does, left out", listing.packagePath.c_str(),
                       listing.name.c_str(), kept->second.packagePath.c_str());
    }
    if (listings.empty()) platform::fatalExit("No watches found!");
    if (settings.initialWatchName.empty()) settings.initialWatchName = listings.begin()->first;
    if (!find(settings.initialWatchName))
        logMessage("The saved watch \"%s\" is not installed, \"%s\" is shown instead",
                   settings.initialWatchName.c_str(), listings.begin()->first.c_str());
}

const WatchListing* WatchCatalogue::find(const std::string& name) const {
    auto found = listings.find(name);
    return found != listings.end() ? &found->second : nullptr;
}

const WatchListing* WatchCatalogue::first() const {
    return listings.empty() ? nullptr : &listings.begin()->second;
}

const WatchListing& WatchCatalogue::shown(const std::string& chosenName) const {
    const WatchListing* chosen = find(chosenName);
    return chosen ? *chosen : listings.begin()->second;
}

const WatchListing* WatchCatalogue::previous(const std::string& name) const {
    auto found = listings.find(name);
    if (found == listings.end() || found == listings.begin()) return nullptr;
    return &std::prev(found)->second;
}

const WatchListing* WatchCatalogue::next(const std::string& name) const {
    auto found = listings.find(name);
    if (found == listings.end() || std::next(found) == listings.end()) return nullptr;
    return &std::next(found)->second;
}

const Watch& WatchCatalogue::load(const std::string& chosenName) {
    const WatchListing* listing = &shown(chosenName);
    if (listing == loadedListing) return *loaded;
    // Released before the next is loaded, so two never take memory at once.
    loaded.reset();
    loadedListing = listing;
    loaded = std::make_unique<Watch>();
    loaded->fontLibrary = fontLibrary;
    loaded->fallbackFonts = fallbackFonts;
    loadWatch(*loaded, listing->packagePath);
    return *loaded;
}
