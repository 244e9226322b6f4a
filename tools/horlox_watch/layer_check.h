#pragma once

#include <cstddef>
#include <vector>

#include "config/config_text.h"
#include "horlox_watch/finding.h"
#include "packages/file_provider.h"

// What the load made of the package's "face", "hand" and "text" sections:
// layers left out for a missing or unusable image or font, images larger
// than the canvas, and layers past the last one the renderer draws.
// `layerSections` is what loadWatch reported for the same config: the
// section of each element, in order.
std::vector<Finding> checkLayers(const ConfigFile& config,
                                 const std::vector<std::size_t>& layerSections,
                                 FileProvider& package);
