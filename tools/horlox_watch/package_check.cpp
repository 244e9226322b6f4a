#include "horlox_watch/package_check.h"

#include <filesystem>
#include <map>
#include <memory>
#include <string_view>

#include "horlox_watch/config_lint.h"
#include "horlox_watch/layer_check.h"
#include "packages/open_package.h"
#include "platform/text_encoding.h"
#include "watch/watch_loader.h"

namespace {

std::string missingConfigMessage(const std::string& packagePath) {
    std::error_code error;
    const std::optional<std::filesystem::path> path = platform::pathFromUtf8(packagePath);
    if (path && std::filesystem::is_directory(*path, error))
        return "there is no such file, so the program does not take the package for a watch";
    return "the archive holds no such file, or is no 7z archive that the program reads, so the program "
           "does not take it for a watch";
}

}  // namespace

PackageCheck checkPackage(const std::string& packagePath, Watch& watch) {
    PackageCheck check;
    check.packagePath = packagePath;
    const std::unique_ptr<FileProvider> package = openPackage(packagePath);
    const FileBytes* bytes = package->getFile("config");
    if (!bytes) {
        check.findings.push_back({Severity::Error, 0, missingConfigMessage(packagePath)});
        return check;
    }
    const ConfigFile config = parseConfig(bytes->data(), bytes->data() + bytes->size());
    check.findings = lintConfig(config);
    if (std::string_view(bytes->data(), bytes->size()).find("\r\n") != std::string_view::npos)
        check.findings.push_back({Severity::Warning, 0,
                                  "the file has Windows (CR LF) line ends, which the program reads as plain ones"});

    std::vector<std::size_t> layerSections;
    loadWatch(watch, packagePath, &layerSections);
    const std::vector<Finding> layerFindings = checkLayers(config, layerSections, *package);
    check.findings.insert(check.findings.end(), layerFindings.begin(), layerFindings.end());
    sortByLine(check.findings);

    check.watchName = watch.name;
    if (const ConfigSection* named = lastWatchSection(config))
        check.nameLine = lineOfKey(*named, "name");
    return check;
}

void reportDuplicateNames(std::vector<PackageCheck>& checks) {
    std::map<std::string, const PackageCheck*> firstWithName;
    for (PackageCheck& check : checks) {
        // A nameless watch has its own finding already.
        if (check.watchName.empty()) continue;
        const auto [first, isFirst] = firstWithName.emplace(check.watchName, &check);
        if (isFirst) continue;
        check.findings.push_back({Severity::Error, check.nameLine,
                                  "watch name " + quote(check.watchName) + " is also the name of " +
                                      first->second->packagePath +
                                      "; the program shows only one of them"});
        sortByLine(check.findings);
    }
}
