#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <string>

#include "watch/watch.h"

struct Settings;

// What the catalogue knows of an installed watch before it is loaded.
struct WatchListing {
    std::string name;
    std::string description;
    std::string packagePath;
};

// The installed watches, ordered byte-wise by name, listed once at start-up.
// Only the current watch is loaded: with many installed, memory and start-up
// time stay those of one.
class WatchCatalogue {
public:
    // Reads the config of every package in the folder (not recursively). An
    // entry whose config names no watch (a stray file, a broken archive) is
    // no watch: it is left out with a log line. Of packages giving the same
    // watch name the one listed first wins. With no watch at all the program
    // ends with "No watches found!"; an empty `initialWatchName` becomes the
    // first watch's name.
    // A watch's text draws what its font lacks from `fallbackFonts` where given.
    WatchCatalogue(Settings& settings, FT_Library fontLibrary,
                   const std::string& watchesFolder = "watches", FontChain* fallbackFonts = nullptr);

    const WatchListing* find(const std::string& name) const;
    const WatchListing* first() const;
    // The watch shown for the chosen name: that one, or the first while no
    // installed watch has that name (the choice itself is kept, so that a
    // package installed again comes back).
    const WatchListing& shown(const std::string& chosenName) const;
    // The watches before and after the named one; none past either end, and
    // none for a name that is not here.
    const WatchListing* previous(const std::string& name) const;
    const WatchListing* next(const std::string& name) const;
    std::size_t count() const { return listings.size(); }
    bool empty() const { return listings.empty(); }

    // The watch shown for the chosen name, ready to draw. It is loaded on
    // first use, diagnostics and all, and stays loaded until another is asked
    // for, which releases it first. Needs the GL context current.
    const Watch& load(const std::string& chosenName);

private:
    std::map<std::string, WatchListing> listings;
    FT_Library fontLibrary;
    FontChain* fallbackFonts;
    const WatchListing* loadedListing = nullptr;
    std::unique_ptr<Watch> loaded;
};
