#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The application keys that an OpenVR application manifest declares: the
// "app_key" text of each object in its top-level "applications" array, in
// file order; an entry without a text key adds nothing. Nothing at all when
// the text is not such a manifest: not JSON, nested deeper than any manifest
// needs, or without an "applications" array.
std::optional<std::vector<std::string>> readManifestAppKeys(std::string_view json);
