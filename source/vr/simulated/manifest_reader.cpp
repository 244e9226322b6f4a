#include "vr/simulated/manifest_reader.h"

#include <nlohmann/json.hpp>

namespace {

// Deeper than any manifest needs.
constexpr int maxDepth = 32;

}  // namespace

std::optional<std::vector<std::string>> readManifestAppKeys(std::string_view json) {
    bool tooDeep = false;
    const auto keepShallow = [&](int depth, nlohmann::json::parse_event_t, nlohmann::json&) {
        tooDeep |= depth > maxDepth;
        return !tooDeep;
    };
    const nlohmann::json manifest = nlohmann::json::parse(json, keepShallow, false);
    if (tooDeep || manifest.is_discarded() || !manifest.is_object()) return std::nullopt;
    const auto applications = manifest.find("applications");
    if (applications == manifest.end() || !applications->is_array()) return std::nullopt;

    std::vector<std::string> keys;
    for (const nlohmann::json& application : *applications) {
        if (!application.is_object()) continue;
        const auto key = application.find("app_key");
        if (key != application.end() && key->is_string()) keys.push_back(key->get<std::string>());
    }
    return keys;
}
