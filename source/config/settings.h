#pragma once

#include <string>

// Relative on purpose: it lives in the working directory, beside "watches".
constexpr char settingsFileName[] = "settings.conf";

// The one state record of the run. The hand and the current watch persist in
// "settings.conf"; the rest lives only as long as the process.
struct Settings {
    bool needsRedraw = false;
    bool watchEnabled = true;
    bool watchOnRightHand = false;
    std::string initialWatchName;
    bool offline = false;

    // Takes the hand and the current watch from the file's keys before any
    // section line. An unreadable or missing file changes nothing.
    void load(const std::string& path = settingsFileName);
    // Writes the hand and the current watch; true when the file holds both.
    // On failure the previous file stays as it was.
    bool save(const std::string& path = settingsFileName) const;
};
