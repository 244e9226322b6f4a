#pragma once

#include <string>
#include <vector>

#include "config/wrist_placement.h"

// Relative on purpose: it lives in the working directory, beside "watches".
constexpr char settingsFileName[] = "settings.conf";

// When the watch shows on the wrist; Off hides it as Disable does, but lasts.
enum class WatchVisibility { Always, WhenLookedAt, Off };

// Which notifications from other programs the watch shows beside it.
struct NotificationChoices {
    bool shown = true;  // "Notifications: On / Off"
    bool fromDesktop = true;
    bool fromXsOverlay = true;   // XSOverlay's senders
    bool fromOvrToolkit = true;  // OVR Toolkit's senders

    bool operator==(const NotificationChoices& other) const;
    bool operator!=(const NotificationChoices& other) const { return !(*this == other); }
};

// The one state record of the run. The hand, the current watch, the
// visibility, the placement and the notifications persist in
// "settings.conf"; the rest lives only as long as the process.
struct Settings {
    bool needsRedraw = false;
    bool watchEnabled = true;
    bool watchOnRightHand = false;
    std::string initialWatchName;
    bool offline = false;
    bool waitForRuntime = false;  // started before the runtime, waits for it again when it quits
    WatchVisibility watchVisibility = WatchVisibility::Always;
    WristPlacement placement;
    NotificationChoices notifications;
    // The file's lines that are not the program's own choices (comments, a
    // newer version's keys, sections), in their order, written back after them.
    std::vector<std::string> foreignLines;

    // Why the most recent save failed, in words ("settings.conf is
    // read-only"); empty while the file holds the choices.
    std::string saveFailure;

    // Takes the saved choices from the file's keys before any section line.
    // A missing key gives that choice's default; a value that cannot be read
    // gives the default too, a number out of range the nearest in range,
    // each with a log line naming the key, the value and what is used. An
    // unreadable or missing file changes nothing.
    void load(const std::string& path = settingsFileName);
    // Writes the saved choices, then the foreign lines; true when the file
    // holds them all. On failure the previous file stays as it was,
    // saveFailure says why and the log has a line, once for each new reason.
    bool save(const std::string& path = settingsFileName);
};
