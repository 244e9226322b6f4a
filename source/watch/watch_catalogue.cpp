#include "watch/watch_catalogue.h"

#include <filesystem>

#include "config/settings.h"
#include "platform/debug_output.h"
#include "platform/text_encoding.h"
#include "watch/watch_loader.h"

WatchCatalogue::WatchCatalogue(Settings& settings, FT_Library fontLibrary,
                               const std::string& watchesFolder) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path folder = platform::pathFromUtf8(watchesFolder).value_or(fs::path());
    // A listing that fails part way keeps the watches read so far.
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        auto watch = std::make_unique<Watch>();
        watch->fontLibrary = fontLibrary;
        loadWatch(*watch, watchesFolder + "/" + platform::utf8FromPath(entry->path().filename()));
        std::string name = watch->name;
        watches.try_emplace(std::move(name), std::move(watch));
    }
    if (watches.empty()) platform::fatalExit("No watches found!");
    if (settings.initialWatchName.empty()) settings.initialWatchName = watches.begin()->first;
}

const Watch* WatchCatalogue::find(const std::string& name) const {
    auto found = watches.find(name);
    return found != watches.end() ? found->second.get() : nullptr;
}

const Watch* WatchCatalogue::first() const {
    return watches.empty() ? nullptr : watches.begin()->second.get();
}

const Watch* WatchCatalogue::previous(const std::string& name) const {
    auto found = watches.find(name);
    if (found == watches.end() || found == watches.begin()) return nullptr;
    return std::prev(found)->second.get();
}

const Watch* WatchCatalogue::next(const std::string& name) const {
    auto found = watches.find(name);
    if (found == watches.end() || std::next(found) == watches.end()) return nullptr;
    return std::next(found)->second.get();
}
