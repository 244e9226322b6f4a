// The menu panel on its own: what it shows, and what its buttons change.
#include <gtest/gtest.h>

#include <cfloat>
#include <filesystem>
#include <memory>

#include <imgui.h>
#include <imgui_internal.h>

#include "config/settings.h"
#include "support/gl_test_context.h"
#include "support/menu_gui_context.h"
#include "support/package_files.h"
#include "support/temporary_directory.h"
#include "ui/menu_buttons.h"
#include "ui/menu_panel.h"
#include "watch/watch_catalogue.h"

namespace {

// Each test runs in a working directory of its own, where the panel saves.
class MenuPanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        ensureGlContext();
        previousDirectory = std::filesystem::current_path();
        std::filesystem::current_path(scratch.path());
        gui = std::make_unique<MenuGuiContext>();
    }
    void TearDown() override { std::filesystem::current_path(previousDirectory); }

    void install(const std::vector<std::string>& names, const std::string& description = "") {
        for (const std::string& name : names)
            writeFile(scratch.path() + "/watches/" + name + "/config",
                      ":watch\nname=" + name + "\ndescription=" + description + "\n");
        catalogue = std::make_unique<WatchCatalogue>(settings, nullptr);
    }

    std::string frame() { return drawMenuFrame(settings, *catalogue); }

    // Pressed in one frame and released in the next, on the button as the
    // last frame drew it; then the pointer leaves and the menu is drawn as the
    // click left it.
    void click(const std::string& label) {
        const std::optional<ButtonPlace> button = findMenuButton(label);
        ASSERT_TRUE(button) << label;
        ImGuiIO& io = ImGui::GetIO();
        io.MousePos = ImVec2((button->left + button->right) / 2, (button->top + button->bottom) / 2);
        io.MouseDown[0] = true;
        frame();
        io.MouseDown[0] = false;
        frame();
        io.MousePos = ImVec2(-FLT_MAX, -FLT_MAX);
        frame();
    }

    bool settingsFileExists() const { return std::filesystem::exists(settingsFileName); }
    std::string settingsFile() const { return readWholeFile(settingsFileName); }

    TemporaryDirectory scratch;
    std::filesystem::path previousDirectory;
    std::unique_ptr<MenuGuiContext> gui;
    Settings settings;
    std::unique_ptr<WatchCatalogue> catalogue;
};

TEST_F(MenuPanelTest, TheRowsShowTheirTextsAndTheWatchsTextsLiterally) {
    install({"100% %d %s"}, "50%% off, %n");
    const std::string shown = frame();
    EXPECT_EQ(shown,
              "Horlox by quillmere - github.com/quillmere/horlox\n"
              "[ Disable ]\n"
              "Display watch on [ left hand ]\n"
              "(x) Always ( ) When I look at it ( ) Off\n"
              "{ Size 6.0 cm }\n"
              "{ Offset +0.0 cm }\n"
              "{ Tilt +0\xC2\xB0 }\n"
              "[ Reset placement ]\n"
              "--------------------------------\n"
              "100% %d %s\n"
              "50%% off, %n\n");
}

TEST_F(MenuPanelTest, TheWindowFillsTheMenuAndThePictureIsUpright) {
    install({"Alpha"});
    frame();
    const ImGuiWindow* window =
        ImGui::FindWindowByName("Horlox by quillmere - github.com/quillmere/horlox");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Pos.x, 0);
    EXPECT_EQ(window->Pos.y, 0);
    EXPECT_EQ(window->Size.x, menuSize);
    EXPECT_EQ(window->Size.y, menuSize);
    EXPECT_EQ(window->Flags & (ImGuiWindowFlags_NoTitleBar | ImGuiWindowFlags_NoResize |
                               ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoCollapse),
              0x26);

    // The picture's quad, the only one without the font's texture: 256 pixels
    // a side, the texture's last row at its top.
    const ImDrawList& drawn = *window->DrawList;
    ImVec2 topLeft(FLT_MAX, FLT_MAX), bottomRight(-FLT_MAX, -FLT_MAX);
    ImVec2 topLeftUv, bottomRightUv;
    for (const ImDrawCmd& command : drawn.CmdBuffer) {
        if (command.TextureId != nullptr) continue;
        for (unsigned i = 0; i < command.ElemCount; ++i) {
            const ImDrawVert& vertex =
                drawn.VtxBuffer[drawn.IdxBuffer[command.IdxOffset + i] + command.VtxOffset];
            if (vertex.pos.x <= topLeft.x && vertex.pos.y <= topLeft.y) {
                topLeft = vertex.pos;
                topLeftUv = vertex.uv;
            }
            if (vertex.pos.x >= bottomRight.x && vertex.pos.y >= bottomRight.y) {
                bottomRight = vertex.pos;
                bottomRightUv = vertex.uv;
            }
        }
    }
    EXPECT_EQ(bottomRight.x - topLeft.x, 256);
    EXPECT_EQ(bottomRight.y - topLeft.y, 256);
    EXPECT_EQ(topLeftUv.x, 0);
    EXPECT_EQ(topLeftUv.y, 1);
    EXPECT_EQ(bottomRightUv.x, 1);
    EXPECT_EQ(bottomRightUv.y, 0);
}

TEST_F(MenuPanelTest, StepButtonsShowOnlyWhereANeighbourIs) {
    install({"Alpha", "Beta", "Gamma"});
    frame();
    const ButtonPlace disable = *findMenuButton("Disable");
    EXPECT_FALSE(findMenuButton("Previous"));
    ASSERT_TRUE(findMenuButton("Next"));
    EXPECT_EQ(findMenuButton("Next")->left, disable.left) << "alone on its line";

    settings.initialWatchName = "Beta";
    frame();
    ASSERT_TRUE(findMenuButton("Previous") && findMenuButton("Next"));
    EXPECT_EQ(findMenuButton("Next")->top, findMenuButton("Previous")->top) << "side by side";
    EXPECT_GT(findMenuButton("Next")->left, findMenuButton("Previous")->right);

    settings.initialWatchName = "Gamma";
    frame();
    EXPECT_TRUE(findMenuButton("Previous"));
    EXPECT_FALSE(findMenuButton("Next"));
}

TEST_F(MenuPanelTest, OneWatchOrAnUninstalledOneGivesNothingToStepTo) {
    install({"Alpha"});
    frame();
    EXPECT_FALSE(findMenuButton("Previous"));
    EXPECT_FALSE(findMenuButton("Next"));

    settings.initialWatchName = "Gone";
    const std::string shown = frame();
    EXPECT_EQ(shown.substr(shown.find("[ Disable ]")),
              "[ Disable ]\nDisplay watch on [ left hand ]\n(x) Always ( ) When I look at it ( ) Off\n"
              "{ Size 6.0 cm }\n{ Offset +0.0 cm }\n{ Tilt +0\xC2\xB0 }\n[ Reset placement ]\n"
              "--------------------------------\n\n")
        << "nothing after the separator";
}

TEST_F(MenuPanelTest, StepsChooseTheNeighbourAndSaveItAtOnce) {
    install({"Alpha", "Beta", "Gamma"});
    frame();
    click("Next");
    EXPECT_EQ(settings.initialWatchName, "Beta");
    EXPECT_TRUE(settings.needsRedraw);
    EXPECT_EQ(settingsFile(), "watchOnRightHand=false\ninitialWatchName=Beta\n");

    settings.needsRedraw = false;
    click("Next");
    EXPECT_EQ(settings.initialWatchName, "Gamma");
    EXPECT_TRUE(settings.needsRedraw);
    EXPECT_FALSE(findMenuButton("Next")) << "the last watch has none after it";

    click("Previous");
    EXPECT_EQ(settings.initialWatchName, "Beta");
    EXPECT_EQ(settingsFile(), "watchOnRightHand=false\ninitialWatchName=Beta\n");
}

TEST_F(MenuPanelTest, EachHandPressIsSavedAndTwoRestoreTheHand) {
    install({"Alpha"});
    frame();
    click("left hand");
    EXPECT_TRUE(settings.watchOnRightHand);
    EXPECT_TRUE(settings.needsRedraw);
    EXPECT_EQ(settingsFile(), "watchOnRightHand=true\ninitialWatchName=Alpha\n");

    settings.needsRedraw = false;
    click("right hand");
    EXPECT_FALSE(settings.watchOnRightHand);
    EXPECT_TRUE(settings.needsRedraw);
    EXPECT_EQ(settingsFile(), "watchOnRightHand=false\ninitialWatchName=Alpha\n");
}

TEST_F(MenuPanelTest, EnableAndDisableAreNeverSaved) {
    install({"Alpha"});
    frame();
    click("Disable");
    EXPECT_FALSE(settings.watchEnabled);
    EXPECT_TRUE(settings.needsRedraw);
    EXPECT_TRUE(findMenuButton("Enable"));

    click("Enable");
    EXPECT_TRUE(settings.watchEnabled);
    EXPECT_FALSE(settingsFileExists());
}

}  // namespace
