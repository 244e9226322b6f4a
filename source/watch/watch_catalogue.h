#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <string>

#include "watch/watch.h"

struct Settings;

// The installed watches, ordered byte-wise by name, built once at start-up.
class WatchCatalogue {
public:
    // Loads every package in the folder (not recursively). Of packages giving
    // the same watch name the one listed first wins. With no watch at all the
    // program ends with "No watches found!"; an empty `initialWatchName`
    // becomes the first watch's name. Needs the GL context current.
    WatchCatalogue(Settings& settings, FT_Library fontLibrary,
                   const std::string& watchesFolder = "watches");

    const Watch* find(const std::string& name) const;
    const Watch* first() const;
    // The watches before and after the named one; none past either end, and
    // none for a name that is not here.
    const Watch* previous(const std::string& name) const;
    const Watch* next(const std::string& name) const;
    std::size_t count() const { return watches.size(); }
    bool empty() const { return watches.empty(); }

private:
    std::map<std::string, std::unique_ptr<Watch>> watches;
};
