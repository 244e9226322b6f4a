// The catalogue loads only the current watch and gives back what the one
// before it held.
#include <gtest/gtest.h>

#include <array>

#include "config/settings.h"
#include "gl/fixed_gl_state.h"
#include "gl/render_target.h"
#include "support/gl_test_context.h"
#include "support/test_files.h"
#include "support/watch_package_fixture.h"
#include "watch/watch_catalogue.h"
#include "watch/watch_renderer.h"

namespace {

using Rgba = std::array<std::uint8_t, 4>;

int liveTextures() {
    int live = 0;
    for (GLuint name = 1; name < 4096; ++name) live += glIsTexture(name) ? 1 : 0;
    return live;
}

// The middle pixel of the watch as the main loop draws it.
Rgba drawnMiddle(const Watch& watch, const RenderTarget& target) {
    setFixedGlState();
    glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
    glViewport(0, 0, 256, 256);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawWatch(watch, WatchReadings{}, Settings{});
    Rgba middle{};
    glReadPixels(128, 128, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, middle.data());
    return middle;
}

TEST(CurrentWatchTest, SwitchingReleasesThePreviousWatchAndStepsBackToTheSameImage) {
    ensureGlContext();
    TemporaryDirectory scratch;
    const std::uint8_t red[] = {255, 0, 0, 255}, blue[] = {0, 0, 255, 255};
    const std::string watches = scratch.path() + "/watches";
    writeFile(watches + "/A/face.png", pngOfColour(256, 256, 4, red));
    writeFile(watches + "/A/config", ":watch\nname=Alpha\n:face\nfile=face.png\n");
    writeFile(watches + "/B/face.png", pngOfColour(256, 256, 4, blue));
    writeFile(watches + "/B/hand.png", pngOfColour(8, 8, 4, blue));
    writeFile(watches + "/B/config",
              ":watch\nname=Beta\n:face\nfile=face.png\n:hand\nfile=hand.png\n");

    const RenderTarget target = createRenderTarget(256, 256);
    const int before = liveTextures();
    Settings settings;
    WatchCatalogue catalogue(settings, testFontLibrary(), watches);
    EXPECT_EQ(liveTextures(), before) << "listing loads nothing";

    const Watch* alpha = catalogue.load("Alpha");
    ASSERT_NE(alpha, nullptr);
    EXPECT_EQ(liveTextures(), before + 1);
    EXPECT_EQ(drawnMiddle(*alpha, target), (Rgba{255, 0, 0, 255}));

    const Watch* beta = catalogue.load(catalogue.next("Alpha")->name);
    ASSERT_NE(beta, nullptr);
    EXPECT_EQ(liveTextures(), before + 2) << "Alpha's face given back, Beta's face and hand made";
    EXPECT_EQ(drawnMiddle(*beta, target), (Rgba{0, 0, 255, 255}));

    alpha = catalogue.load(catalogue.previous("Beta")->name);
    ASSERT_NE(alpha, nullptr);
    EXPECT_EQ(liveTextures(), before + 1);
    EXPECT_EQ(drawnMiddle(*alpha, target), (Rgba{255, 0, 0, 255}));

    EXPECT_EQ(catalogue.load("Gone"), nullptr);
    EXPECT_EQ(liveTextures(), before);
}

}  // namespace
