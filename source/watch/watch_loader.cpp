#include "watch/watch_loader.h"

#include <optional>

#include "config/config_text.h"
#include "packages/open_package.h"
#include "watch/config_values.h"
#include "watch/image_texture.h"
#include "watch/watch_shader.h"

namespace {

constexpr GLfloat canvasSize = 256.0f;

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

// A face or a hand: the named image becomes the element's texture and gives
// its quad's size. Nothing when the package lacks the image or it does not
// decode.
std::optional<WatchElement> loadImageLayer(ElementType type, const ConfigSection& section,
                                           FileProvider& package) {
    const FileBytes* bytes = package.getFile(section.get("file", ""));
    if (!bytes) return std::nullopt;
    WatchElement element;
    element.type = type;
    int width = 0, height = 0;
    if (!uploadImageTexture(reinterpret_cast<const unsigned char*>(bytes->data()), bytes->size(),
                            &element.texture, &width, &height))
        return std::nullopt;
    createQuadBuffers(element, width, height);
    return element;
}

std::optional<WatchElement> loadFace(const ConfigSection& section, FileProvider& package) {
    std::optional<WatchElement> face = loadImageLayer(ElementType::Face, section, package);
    if (face) face->mirrorOnRight = parseBool(section.get("mirrorOnRight", ""));
    return face;
}

std::optional<WatchElement> loadHand(const ConfigSection& section, FileProvider& package) {
    std::optional<WatchElement> hand = loadImageLayer(ElementType::Hand, section, package);
    if (!hand) return std::nullopt;
    hand->bind = parseHandBinding(section.get("bind", ""));
    hand->continuous = parseMovement(section.get("movement", ""));
    hand->center = parseHandCenter(section.get("center", ""));
    return hand;
}

std::optional<WatchElement> loadText(const ConfigSection& section, FileProvider& package,
                                     FT_Library fontLibrary) {
    const FileBytes* font = package.getFile(section.get("fontfamily", ""));
    if (!font) return std::nullopt;
    WatchElement text;
    text.type = ElementType::Text;
    // The face reads its bytes for as long as it lives; the package's copy
    // goes when the load ends.
    text.fontData.assign(font->begin(), font->end());
    FT_Face face = nullptr;
    if (FT_New_Memory_Face(fontLibrary, text.fontData.data(),
                           static_cast<FT_Long>(text.fontData.size()), 0, &face) != 0)
        return std::nullopt;
    text.fontFace.reset(face);
    text.fontSize = fontPixelSize(section.get("fontsize", ""));
    // FreeType raises 0 to 1 and lowers sizes past 65535 itself.
    FT_Set_Pixel_Sizes(face, text.fontSize, text.fontSize);
    text.textCenter = parseTextCenter(section.get("center", ""));
    text.text = boundedText(section.get("text", ""));
    glGenTextures(1, &text.texture);  // filled on every redraw
    createQuadBuffers(text, canvasSize, canvasSize);
    return text;
}

ConfigFile readPackageConfig(FileProvider& package) {
    const FileBytes* config = package.getFile("config");
    if (!config) return parseConfig(nullptr, nullptr);
    return parseConfig(config->data(), config->data() + config->size());
}

}  // namespace

void loadWatch(Watch& watch, const std::string& packagePath,
               std::vector<std::size_t>* layerSections) {
    std::unique_ptr<FileProvider> package = openPackage(packagePath);
    const ConfigFile config = readPackageConfig(*package);

    watch.shader = buildWatchShader();
    glGenVertexArrays(1, &watch.vertexArray);
    glBindVertexArray(watch.vertexArray);
    watch.viewMatrix = canvasToClip;
    glUseProgram(watch.shader.program);

    for (std::size_t index = 0; index < config.sections.size(); ++index) {
        const ConfigSection& section = config.sections[index];
        std::optional<WatchElement> element;
        if (section.name == "watch") {
            watch.name = section.get("name", "");
            watch.description = section.get("description", "");
        } else if (section.name == "face") {
            element = loadFace(section, *package);
        } else if (section.name == "hand") {
            element = loadHand(section, *package);
        } else if (section.name == "text") {
            element = loadText(section, *package, watch.fontLibrary);
        }
        if (!element) continue;
        watch.elements.push_back(std::move(*element));
        if (layerSections) layerSections->push_back(index);
    }
}
