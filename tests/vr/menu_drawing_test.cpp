#include <gtest/gtest.h>

#include <vector>

#include <imgui.h>

#include "config/settings.h"
#include "gl/render_target.h"
#include "support/gl_test_context.h"
#include "support/menu_gui_context.h"
#include "support/test_files.h"
#include "ui/menu_panel.h"
#include "vr/menu_drawing.h"
#include "watch/watch_catalogue.h"

namespace {

void fill(const RenderTarget& target, const GLfloat (&colour)[4], GLint side = 0) {
    glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, side ? side : menuSize, side ? side : menuSize);
    glClearBufferfv(GL_COLOR, 0, colour);
    glDisable(GL_SCISSOR_TEST);
}

std::vector<std::uint8_t> pixels(const RenderTarget& target) {
    std::vector<std::uint8_t> rgba(menuSize * menuSize * 4);
    glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
    glReadPixels(0, 0, menuSize, menuSize, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
}

// Drawn in turn, a picture frame changes the picture as a whole frame would
// and leaves every other pixel as it was: a green corner here.
TEST(MenuDrawingTest, APictureFrameRedrawsThePictureAloneAsAWholeFrameWould) {
    ensureGlContext();
    const MenuGuiContext gui;
    ImGui::GetIO().DisplaySize = ImVec2(menuSize, menuSize);
    TemporaryDirectory scratch;
    writeFile(scratch.path() + "/watches/A/config", ":watch\nname=Alpha\n");
    Settings settings;
    const WatchCatalogue catalogue(settings, nullptr, scratch.path() + "/watches");
    const RenderTarget picture = createRenderTarget(256, 256);
    const RenderTarget inTurn = createRenderTarget(menuSize, menuSize);
    const RenderTarget whole = createRenderTarget(menuSize, menuSize);
    const GLfloat red[] = {1, 0, 0, 1}, blue[] = {0, 0, 1, 1}, green[] = {0, 1, 0, 1};

    fill(picture, red);
    for (int settling = 0; settling < 3; ++settling)
        drawMenu(MenuFrame::Whole, settings, catalogue, inTurn, picture.colorTexture);
    fill(inTurn, green, 64);
    fill(picture, blue);
    drawMenu(MenuFrame::Picture, settings, catalogue, inTurn, picture.colorTexture);
    drawMenu(MenuFrame::Whole, settings, catalogue, whole, picture.colorTexture);
    fill(whole, green, 64);

    const std::vector<std::uint8_t> expected = pixels(whole);
    int bluePixels = 0;
    for (std::size_t i = 0; i < expected.size(); i += 4) bluePixels += expected[i + 2] == 255;
    EXPECT_GE(bluePixels, 255 * 256) << "the picture shows";
    EXPECT_TRUE(pixels(inTurn) == expected);
}

}  // namespace
