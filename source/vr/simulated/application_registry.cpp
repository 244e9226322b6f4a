#include "vr/simulated/application_registry.h"

#include <filesystem>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/file_io.h"
#include "platform/text_encoding.h"
#include "vr/simulated/manifest_reader.h"

namespace {

// One line per application: key, tab, 0 or 1 for auto-launch, tab, manifest
// path. Keys and paths that could break that layout are never stored.
bool fitsOnOneField(std::string_view text) {
    if (text.empty()) return false;
    for (char c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
    return true;
}

bool isUsableKey(std::string_view key) {
    return fitsOnOneField(key) && key.find(' ') == std::string_view::npos;
}

}  // namespace

ApplicationRegistry::ApplicationRegistry(std::string path) : filePath(std::move(path)) {
    std::optional<std::vector<char>> bytes = platform::readFileBytes(filePath);
    if (!bytes) return;
    std::string_view rest(bytes->data(), bytes->size());
    while (!rest.empty()) {
        std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);

        std::size_t firstTab = line.find('\t');
        if (firstTab == std::string_view::npos || line.size() < firstTab + 3 ||
            line[firstTab + 2] != '\t')
            continue;
        std::string_view key = line.substr(0, firstTab);
        char launch = line[firstTab + 1];
        std::string_view manifest = line.substr(firstTab + 3);
        if (!isUsableKey(key) || (launch != '0' && launch != '1') || !fitsOnOneField(manifest))
            continue;
        applications[std::string(key)] = Application{std::string(manifest), launch == '1', false};
    }
}

bool ApplicationRegistry::isInstalled(const std::string& appKey) const {
    return applications.count(appKey) != 0;
}

EVRApplicationError ApplicationRegistry::addManifest(const std::string& manifestFullPath,
                                                     bool temporary) {
    const std::optional<std::filesystem::path> path = platform::pathFromUtf8(manifestFullPath);
    if (!fitsOnOneField(manifestFullPath) || !path || !path->is_absolute())
        return VRApplicationError_InvalidParameter;
    std::optional<std::vector<char>> bytes = platform::readFileBytes(manifestFullPath);
    if (!bytes) return VRApplicationError_InvalidManifest;
    std::optional<std::vector<std::string>> keys =
        readManifestAppKeys(std::string_view(bytes->data(), bytes->size()));
    if (!keys) return VRApplicationError_InvalidManifest;
    if (keys->empty()) return VRApplicationError_InvalidApplication;
    for (const std::string& key : *keys)
        if (!isUsableKey(key)) return VRApplicationError_InvalidApplication;

    std::map<std::string, Application> before = applications;
    for (const std::string& key : *keys) {
        Application& application = applications[key];
        application.manifestPath = manifestFullPath;
        application.temporary = temporary;
    }
    if (save()) return VRApplicationError_None;
    applications = std::move(before);
    return VRApplicationError_IPCFailed;
}

bool ApplicationRegistry::autoLaunch(const std::string& appKey) const {
    auto found = applications.find(appKey);
    return found != applications.end() && found->second.autoLaunch;
}

EVRApplicationError ApplicationRegistry::setAutoLaunch(const std::string& appKey, bool enabled) {
    auto found = applications.find(appKey);
    if (found == applications.end()) return VRApplicationError_UnknownApplication;
    bool before = found->second.autoLaunch;
    found->second.autoLaunch = enabled;
    if (save()) return VRApplicationError_None;
    found->second.autoLaunch = before;
    return VRApplicationError_IPCFailed;
}

bool ApplicationRegistry::save() const {
    std::string text;
    for (const auto& [key, application] : applications) {
        if (application.temporary) continue;
        text += key + '\t' + (application.autoLaunch ? '1' : '0') + '\t' +
                application.manifestPath + '\n';
    }
    return platform::replaceFile(filePath, text);
}
