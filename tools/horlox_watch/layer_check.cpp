#include "horlox_watch/layer_check.h"

#include <algorithm>
#include <climits>
#include <optional>

#include <stb_image.h>

#include "watch/image_texture.h"

namespace {

// The renderer stacks layers 0.01 apart from a depth of 0.99; from the 201st
// on they lie behind the far plane.
constexpr std::size_t maxDrawnLayers = 200;
constexpr int canvasSide = 256;

struct ImageSize {
    int width = 0;
    int height = 0;
};

// The size from the image's header, without decoding its pixels.
std::optional<ImageSize> imageSize(const FileBytes& bytes) {
    if (bytes.empty() || bytes.size() > INT_MAX) return std::nullopt;
    ImageSize size;
    int channels = 0;
    if (!stbi_info_from_memory(reinterpret_cast<const stbi_uc*>(bytes.data()),
                               static_cast<int>(bytes.size()), &size.width, &size.height,
                               &channels))
        return std::nullopt;
    return size;
}

std::string sizeText(ImageSize size) {
    return std::to_string(size.width) + " x " + std::to_string(size.height) + " pixels";
}

const std::string leftOut = "; the layer is left out";

// Why a named file gave no bytes.
std::string notServed(const FileProvider& package, const std::string& name) {
    return package.leadsOutside(name) ? " lies outside the package, which the program does not read"
                                      : " is not in the package";
}

// The finding for one "face" or "hand" section: why it gave no layer, or
// whether its image overflows the canvas.
std::optional<Finding> checkImageLayer(const ConfigSection& section, bool loaded,
                                       FileProvider& package) {
    const std::optional<std::string> name = section.get("file");
    if (!name)
        return Finding{Severity::Error, section.line,
                       quote(":" + section.name) + " has no 'file'" + leftOut};
    const std::size_t line = lineOfKey(section, "file");
    const FileBytes* bytes = package.getFile(*name);
    if (!bytes)
        return Finding{Severity::Error, line,
                       "image " + quote(*name) + notServed(package, *name) + leftOut};
    const std::optional<ImageSize> size = imageSize(*bytes);
    if (!loaded) {
        if (size && (size->width > maxImageSide || size->height > maxImageSide))
            return Finding{Severity::Error, line,
                           "image " + quote(*name) + " is " + sizeText(*size) + ", over the " +
                               std::to_string(maxImageSide) + " a side that the program accepts" +
                               leftOut};
        return Finding{Severity::Error, line,
                       "image " + quote(*name) + " cannot be decoded" + leftOut};
    }
    if (size && (size->width > canvasSide || size->height > canvasSide))
        return Finding{Severity::Warning, line,
                       "image " + quote(*name) + " is " + sizeText(*size) +
                           ", larger than the 256 x 256 canvas"};
    return std::nullopt;
}

// The finding for a "text" section that gave no layer.
Finding leftOutText(const ConfigSection& section, FileProvider& package) {
    const std::optional<std::string> name = section.get("fontfamily");
    if (!name) return {Severity::Error, section.line, "':text' has no 'fontfamily'" + leftOut};
    const std::size_t line = lineOfKey(section, "fontfamily");
    if (!package.getFile(*name))
        return {Severity::Error, line, "font " + quote(*name) + notServed(package, *name) + leftOut};
    return {Severity::Error, line, "font " + quote(*name) + " cannot be opened" + leftOut};
}

}  // namespace

std::vector<Finding> checkLayers(const ConfigFile& config,
                                 const std::vector<std::size_t>& layerSections,
                                 FileProvider& package) {
    std::vector<Finding> findings;
    std::size_t layers = 0;
    for (std::size_t index = 0; index < config.sections.size(); ++index) {
        const ConfigSection& section = config.sections[index];
        const bool isImage = section.name == "face" || section.name == "hand";
        if (!isImage && section.name != "text") continue;
        // Whether or not the load keeps them, layers past the limit never
        // show, so what their files hold no longer matters.
        if (layers == maxDrawnLayers) {
            findings.push_back({Severity::Error, section.line,
                                "the program draws only the first " +
                                    std::to_string(maxDrawnLayers) +
                                    " layers; from this one on, none is drawn"});
            break;
        }
        const bool loaded =
            std::find(layerSections.begin(), layerSections.end(), index) != layerSections.end();
        if (loaded) ++layers;
        if (isImage) {
            if (std::optional<Finding> finding = checkImageLayer(section, loaded, package))
                findings.push_back(*finding);
        } else if (!loaded) {
            findings.push_back(leftOutText(section, package));
        }
    }
    return findings;
}
