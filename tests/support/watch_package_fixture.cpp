#include "support/watch_package_fixture.h"

#include "config/settings.h"
#include "gl/fixed_gl_state.h"
#include "gl/render_target.h"
#include "support/gl_test_context.h"
#include "support/test_files.h"
#include "watch/watch_loader.h"

FT_Library testFontLibrary() {
    static FT_Library library = [] {
        FT_Library made = nullptr;
        FT_Init_FreeType(&made);
        return made;
    }();
    return library;
}

void WatchPackageTest::SetUp() {
    ensureGlContext();
    fontLibrary = testFontLibrary();
}

void WatchPackageTest::add(const std::string& name, const std::string& bytes) {
    writeFile(packagePath() + "/" + name, bytes);
}

Watch& WatchPackageTest::load(const std::string& path) {
    watches.push_back(std::make_unique<Watch>());
    watches.back()->fontLibrary = fontLibrary;
    loadWatch(*watches.back(), path);
    return *watches.back();
}

Image WatchPackageTest::draw(const Watch& watch, const WatchReadings& readings, bool rightHand) {
    static const RenderTarget target = createRenderTarget(256, 256);
    Settings settings;
    settings.watchOnRightHand = rightHand;
    setFixedGlState();
    glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
    glViewport(0, 0, 256, 256);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawWatch(watch, readings, settings);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    Image image{256, 256, std::vector<std::uint8_t>(256 * 256 * 4)};
    for (int row = 0; row < 256; ++row)
        glReadPixels(0, 255 - row, 256, 1, GL_RGBA, GL_UNSIGNED_BYTE, &image.rgba[row * 256 * 4]);
    return image;
}
