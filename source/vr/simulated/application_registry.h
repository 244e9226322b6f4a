#pragma once

#include <map>
#include <string>

#include "vr/openvr/openvr_api.h"

// The simulated runtime's installed applications and their auto-launch
// switches, kept in one file so that they outlive the process, as a real
// runtime's registry does. Temporary registrations live only in memory.
class ApplicationRegistry {
public:
    // Reads the file if there is one; lines it cannot use are dropped.
    explicit ApplicationRegistry(std::string filePath);

    bool isInstalled(const std::string& appKey) const;
    // Installs every application the manifest declares, under the manifest's
    // absolute path. A missing or unreadable file, or one that is no manifest,
    // is VRApplicationError_InvalidManifest; a manifest that declares no usable
    // application key is VRApplicationError_InvalidApplication.
    EVRApplicationError addManifest(const std::string& manifestFullPath, bool temporary);
    bool autoLaunch(const std::string& appKey) const;
    EVRApplicationError setAutoLaunch(const std::string& appKey, bool enabled);

private:
    struct Application {
        std::string manifestPath;
        bool autoLaunch = false;
        bool temporary = false;
    };

    // False when the file could not be written; it then stays as it was.
    bool save() const;

    std::string filePath;
    std::map<std::string, Application> applications;
};
