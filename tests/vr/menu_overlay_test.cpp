// The menu's share of a pass: the laser's events as ImGui input, the frames
// that are drawn and what each draws. The program's own sessions are in
// tests/program/program_test.cpp.
#include <gtest/gtest.h>
#include <cstdint>
#include <imgui.h>
#include <vector>

#include "config/settings.h"
#include "gl/render_target.h"
#include "support/gl_test_context.h"
#include "support/menu_gui_context.h"
#include "support/test_files.h"
#include "ui/menu_panel.h"
#include "ui/menu_drawing.h"
#include "ui/menu_frame_rule.h"
#include "vr/menu_input.h"
#include "watch/watch_catalogue.h"

namespace {

// Positions are fractions of the menu from its top-left corner, as ImGui
// counts; scrolls add up until ImGui reads them.
TEST(VrMenuInputTest, PointerEventsBecomeImGuiInput) {
    ImGuiIO io;
    io.DisplaySize = ImVec2(1280, 640);
    feedPointerEvent(io, {PointerEvent::Kind::Move, 0.5f, 0.25f});
    EXPECT_EQ(std::make_pair(io.MousePos.x, io.MousePos.y), std::make_pair(640.0f, 160.0f));
    feedPointerEvent(io, {PointerEvent::Kind::Press, 0.1f, 0.1f, 1});
    EXPECT_EQ(io.MousePos.x, 640) << "only moves move";
    EXPECT_TRUE(io.MouseDown[1]);
    feedPointerEvent(io, {PointerEvent::Kind::Release, 0, 0, 1});
    feedPointerEvent(io, {PointerEvent::Kind::Press, 0, 0, 7});
    EXPECT_TRUE(io.MouseDown[0] && !io.MouseDown[1]) << "an unknown button acts as the main one";
    feedPointerEvent(io, {PointerEvent::Kind::Scroll, 0.5f, -1});
    feedPointerEvent(io, {PointerEvent::Kind::Scroll, 0.25f, -2});
    EXPECT_EQ(std::make_pair(io.MouseWheelH, io.MouseWheel), std::make_pair(0.75f, -3.0f));
}

// What each pass draws: 'w' the whole menu, 'p' its picture, '.' nothing;
// an 'i' among the inputs is a pass that brought input.
std::string framesDrawn(MenuFrameRule& rule, const std::string& inputs, const MenuLook& look) {
    std::string drawn;
    for (char input : inputs) drawn += ".pw"[static_cast<int>(rule.frameDue(input == 'i', look))];
    return drawn;
}

TEST(MenuFrameRuleTest, ShowingAndInputDrawWithTheFramesThatSettleThenTheMenuRests) {
    MenuFrameRule rule;
    const MenuLook look;
    EXPECT_TRUE(rule.sizeMayHaveChanged());
    EXPECT_EQ(framesDrawn(rule, "......", look), "www...");
    EXPECT_FALSE(rule.sizeMayHaveChanged()) << "nothing handed over since it was asked";
    EXPECT_EQ(framesDrawn(rule, "i.....", look), "www...");
    EXPECT_EQ(framesDrawn(rule, "i.i.i....", look), "wwwwwww..") << "a moving laser";
    rule.menuHidden();
    EXPECT_TRUE(rule.sizeMayHaveChanged());
    EXPECT_EQ(framesDrawn(rule, "....", look), "www.") << "shown again";
}

// A new watch image redraws only the picture; along with any other change of
// look, the whole menu is drawn once.
TEST(MenuFrameRuleTest, ANewWatchImageDrawsOnlyThePictureAnotherChangeTheWholeMenuOnce) {
    MenuFrameRule rule;
    MenuLook look;
    framesDrawn(rule, "....", look);
    ++look.watchImages;
    EXPECT_EQ(framesDrawn(rule, "...", look), "p..");
    ++look.watchImages;
    look.watchEnabled = false;
    EXPECT_EQ(framesDrawn(rule, "...", look), "w..");
}

void fill(const RenderTarget& target, const GLfloat (&colour)[4]) {
    glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
    glClearBufferfv(GL_COLOR, 0, colour);
}

std::vector<std::uint8_t> pixels(const RenderTarget& target) {
    std::vector<std::uint8_t> rgba(menuSize * menuSize * 4);
    glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
    glReadPixels(0, 0, menuSize, menuSize, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
}

// Drawn in turn, a picture frame changes the picture as a whole frame would,
// the window's background showing through a see-through picture.
TEST(MenuDrawingTest, APictureFrameRedrawsThePictureAsAWholeFrameWould) {
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
    const GLfloat red[] = {1, 0, 0, 1}, seeThroughBlue[] = {0, 0, 1, 0.25f};

    fill(picture, red);
    for (int settling = 0; settling < 3; ++settling)
        drawMenu(MenuFrame::Whole, settings, catalogue, inTurn, picture.colorTexture);
    fill(picture, seeThroughBlue);
    drawMenu(MenuFrame::Picture, settings, catalogue, inTurn, picture.colorTexture);
    drawMenu(MenuFrame::Whole, settings, catalogue, whole, picture.colorTexture);

    const std::vector<std::uint8_t> expected = pixels(whole);
    int bluePixels = 0;
    for (std::size_t i = 0; i < expected.size(); i += 4) bluePixels += expected[i + 2] > 50 && expected[i] < 50;
    EXPECT_GE(bluePixels, 255 * 256) << "the picture shows";
    EXPECT_TRUE(pixels(inTurn) == expected);
}

}  // namespace
