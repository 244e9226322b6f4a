#include "watch/watch_loader.h"

#include <optional>

#include "config/config_text.h"
#include "packages/open_package.h"
#include "platform/log.h"
#include "watch/battery_text.h"
#include "watch/config_values.h"
#include "watch/image_texture.h"
#include "watch/package_config.h"
#include "watch/watch_shader.h"

namespace {

constexpr GLfloat canvasSize = 256.0f;

// drawWatch lowers each layer's depth by 0.01 from 0.99: from the 201st on,
// layers lie behind the far plane and never show, so they are not loaded.
constexpr std::size_t maxVisibleLayers = 200;

// What one watch's layers may hold in decoded images and font copies, so a
// small package cannot claim gigabytes by naming one large file many times.
constexpr std::size_t maxLayerBytes = std::size_t{256} << 20;

class LayerBudget {
public:
    // Whether the bytes fit in what is left; a refusal is remembered.
    bool fits(std::size_t bytes) {
        refused |= bytes > left;
        return bytes <= left;
    }
    void spend(std::size_t bytes) { left -= bytes; }
    bool refusedAny() const { return refused; }

private:
    std::size_t left = maxLayerBytes;
    bool refused = false;
};

// Says in the log why layers are left out: a line each for the first few,
// then how many more, so that a package of thousands of broken layers costs
// the log a few lines.
class LayerFaults {
public:
    explicit LayerFaults(const std::string& packagePath) : packagePath(packagePath) {}

    std::nullopt_t leftOut(const ConfigSection& section, const std::string& why) {
        if (said < maxSaid) {
            logMessage("Watch package %s, config line %lu: %s, the layer left out", packagePath.c_str(),
                       static_cast<unsigned long>(section.line), why.c_str());
            ++said;
        } else {
            ++unsaid;
        }
        return std::nullopt;
    }
    void sayTheRest() const {
        if (unsaid)
            logMessage("Watch package %s: %lu more layers left out; horlox-watch check lists them all",
                       packagePath.c_str(), static_cast<unsigned long>(unsaid));
    }

private:
    static constexpr std::size_t maxSaid = 8;
    const std::string& packagePath;
    std::size_t said = 0, unsaid = 0;
};

// Maps the canvas, 0 to 256 on x and y, to clip space; z passes unchanged.
constexpr std::array<GLfloat, 16> canvasToClip = {
    1.0f / 128, 0, 0, 0,  //
    0, 1.0f / 128, 0, 0,  //
    0, 0, 1, 0,           //
    -1, -1, 0, 1};

// Every layer is one quad of width x height canvas pixels with its bottom-left
// corner at the origin; v = 0 is the image's top row.
void createQuadBuffers(WatchElement& element, GLfloat width, GLfloat height) {
    const GLfloat vertices[] = {
        0, height, 0, 0, 0,      // top left
        0, 0, 0, 0, 1,           // bottom left
        width, height, 0, 1, 0,  // top right
        width, 0, 0, 1, 1,       // bottom right
    };
    const GLuint indices[] = {1, 2, 3, 2, 1, 0};
    glGenBuffers(1, &element.vertexBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, element.vertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof vertices, vertices, GL_STATIC_DRAW);
    // Buffers are untyped: the indices go in through the array binding and
    // are bound as element indices only when drawn.
    glGenBuffers(1, &element.indexBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, element.indexBuffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof indices, indices, GL_STATIC_DRAW);
}

// What a layer is loaded from and into, and where its faults are told.
struct LayerSources {
    FileProvider& package;
    FT_Library fontLibrary;
    LayerBudget& budget;
    LayerFaults& faults;
};

// A face or a hand: the named image becomes the element's texture and gives
// its quad's size. Nothing when the package lacks the image, it does not
// decode, or its pixels do not fit in the budget.
std::optional<WatchElement> loadImageLayer(ElementType type, const ConfigSection& section,
                                           const LayerSources& sources) {
    const std::optional<std::string> name = section.get("file");
    if (!name) return sources.faults.leftOut(section, "':" + section.name + "' names no image file");
    const FileBytes* bytes = sources.package.getFile(*name);
    if (!bytes) return sources.faults.leftOut(section, "image \"" + *name + "\" is not in the package");
    std::optional<DecodedImage> image =
        decodeImage(reinterpret_cast<const unsigned char*>(bytes->data()), bytes->size());
    if (!image) return sources.faults.leftOut(section, "image \"" + *name + "\" cannot be decoded");
    LayerBudget& budget = sources.budget;
    const std::size_t pixelBytes = std::size_t(image->width) * std::size_t(image->height) * 4;
    if (!budget.fits(pixelBytes)) return std::nullopt;
    budget.spend(pixelBytes);
    WatchElement element;
    element.type = type;
    element.texture = uploadDecodedImage(*image);
    createQuadBuffers(element, image->width, image->height);
    return element;
}

// What a hand or a text shows instead of the local time: a battery, or the
// time of its own zone. An unknown zone is named on the debugger output and
// the element keeps to local time.
void loadShownData(WatchElement& element, const ConfigSection& section) {
    element.battery = parseBatteryDevice(section.get("battery", ""));
    const std::optional<std::string> zoneName = section.get("zone");
    if (!zoneName) return;
    element.zone = findTimeZone(*zoneName);
    if (!element.zone)
        logMessage("Watch package names the unknown time zone \"%s\", local time shown instead",
                   zoneName->c_str());
}

std::optional<WatchElement> loadFace(const ConfigSection& section, const LayerSources& sources) {
    std::optional<WatchElement> face = loadImageLayer(ElementType::Face, section, sources);
    if (face) face->mirrorOnRight = parseBool(section.get("mirrorOnRight", ""));
    return face;
}

std::optional<WatchElement> loadHand(const ConfigSection& section, const LayerSources& sources) {
    std::optional<WatchElement> hand = loadImageLayer(ElementType::Hand, section, sources);
    if (!hand) return std::nullopt;
    hand->bind = parseHandBinding(section.get("bind", ""));
    hand->continuous = parseMovement(section.get("movement", ""));
    hand->center = parseHandCenter(section.get("center", ""));
    loadShownData(*hand, section);
    if (std::optional<GaugeArc> arc = parseGaugeArc(section.get("arc", ""))) hand->arc = *arc;
    return hand;
}

std::optional<WatchElement> loadText(const ConfigSection& section, const LayerSources& sources) {
    const std::optional<std::string> name = section.get("fontfamily");
    if (!name) return sources.faults.leftOut(section, "':text' names no font");
    const FileBytes* font = sources.package.getFile(*name);
    if (!font) return sources.faults.leftOut(section, "font \"" + *name + "\" is not in the package");
    if (!sources.budget.fits(font->size())) return std::nullopt;
    WatchElement text;
    text.type = ElementType::Text;
    // The face reads its bytes for as long as it lives; the package's copy
    // goes when the load ends.
    text.fontData.assign(font->begin(), font->end());
    FT_Face face = nullptr;
    if (FT_New_Memory_Face(sources.fontLibrary, text.fontData.data(),
                           static_cast<FT_Long>(text.fontData.size()), 0, &face) != 0)
        return sources.faults.leftOut(section, "font \"" + *name + "\" cannot be opened");
    sources.budget.spend(text.fontData.size());
    text.fontFace.reset(face);
    text.fontSize = fontPixelSize(section.get("fontsize", ""));
    // FreeType raises 0 to 1 and lowers sizes past 65535 itself.
    FT_Set_Pixel_Sizes(face, text.fontSize, text.fontSize);
    text.textCenter = parseTextCenter(section.get("center", ""));
    text.text = boundedText(section.get("text", ""));
    loadShownData(text, section);
    text.chargingMark = boundedText(section.get("charging", defaultChargingMark));
    glGenTextures(1, &text.texture);  // filled when drawn
    createQuadBuffers(text, canvasSize, canvasSize);
    return text;
}

bool isLayer(const ConfigSection& section) {
    return section.name == "face" || section.name == "hand" || section.name == "text";
}

// The layer a "face", "hand" or "text" section describes; nothing for other
// sections and for layers whose files are missing or unusable.
std::optional<WatchElement> loadLayer(const ConfigSection& section, const LayerSources& sources) {
    if (section.name == "face") return loadFace(section, sources);
    if (section.name == "hand") return loadHand(section, sources);
    if (section.name == "text") return loadText(section, sources);
    return std::nullopt;
}

// The images and fonts that the layers which can show name.
std::vector<std::string> filesOfVisibleLayers(const ConfigFile& config) {
    std::vector<std::string> names;
    std::size_t layers = 0;
    for (const ConfigSection& section : config.sections) {
        if (!isLayer(section)) continue;
        if (++layers > maxVisibleLayers) break;
        if (std::optional<std::string> name = section.get(section.name == "text" ? "fontfamily" : "file"))
            names.push_back(std::move(*name));
    }
    return names;
}

}  // namespace

void loadWatch(Watch& watch, const std::string& packagePath,
               std::vector<std::size_t>* layerSections) {
    std::unique_ptr<FileProvider> package = openPackage(packagePath);
    const ConfigFile config = readPackageConfig(*package);
    WatchTitle title = readWatchTitle(config);
    watch.name = std::move(title.name);
    watch.description = std::move(title.description);

    watch.shader = buildWatchShader();
    glGenVertexArrays(1, &watch.vertexArray);
    glBindVertexArray(watch.vertexArray);
    watch.viewMatrix = canvasToClip;
    glUseProgram(watch.shader.program);

    package->willAskFor(filesOfVisibleLayers(config));
    LayerBudget budget;
    LayerFaults faults(packagePath);
    const LayerSources sources{*package, watch.fontLibrary, budget, faults};
    bool hiddenLayersSkipped = false;
    for (std::size_t index = 0; index < config.sections.size(); ++index) {
        const ConfigSection& section = config.sections[index];
        if (isLayer(section) && watch.elements.size() == maxVisibleLayers) {
            hiddenLayersSkipped = true;
        } else if (std::optional<WatchElement> element = loadLayer(section, sources)) {
            watch.elements.push_back(std::move(*element));
            if (layerSections) layerSections->push_back(index);
        }
    }
    faults.sayTheRest();
    if (hiddenLayersSkipped)
        logMessage("Watch package has more layers than can be seen, the rest skipped: %s",
                   packagePath.c_str());
    if (budget.refusedAny())
        logMessage("Watch package's images and fonts need too much memory, layers skipped: %s",
                   packagePath.c_str());
}
