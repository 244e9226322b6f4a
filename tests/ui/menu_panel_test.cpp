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
#include "support/test_files.h"
#include "ui/menu_buttons.h"
#include "ui/menu_panel.h"
#include "watch/watch_catalogue.h"

namespace {

const std::string credit = "Horlox by quillmere - github.com/quillmere/horlox";

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
            writeFile("watches/" + name + "/config", ":watch\nname=" + name + "\ndescription=" + description + "\n");
        catalogue = std::make_unique<WatchCatalogue>(settings, nullptr);
        frame();
    }
    std::string frame() { return drawMenuFrame(settings, *catalogue); }

    // Pressed in one frame and released in the next, on the button as the
    // last frame drew it; then the pointer leaves and the menu is drawn as the
    // click left it. The redraw it asks for and the file are what it did.
    std::pair<bool, std::string> click(const std::string& label) {
        const std::optional<ButtonPlace> button = findMenuButton(label);
        EXPECT_TRUE(button) << label;
        if (!button) return {};
        ImGuiIO& io = ImGui::GetIO();
        settings.needsRedraw = false;
        io.MousePos = ImVec2((button->left + button->right) / 2, (button->top + button->bottom) / 2);
        io.MouseDown[0] = true;
        frame();
        io.MouseDown[0] = false;
        frame();
        io.MousePos = ImVec2(-FLT_MAX, -FLT_MAX);
        frame();
        return {settings.needsRedraw, readWholeFile(settingsFileName)};
    }

    TemporaryDirectory scratch;
    std::filesystem::path previousDirectory;
    std::unique_ptr<MenuGuiContext> gui;
    Settings settings;
    std::unique_ptr<WatchCatalogue> catalogue;
};

// The wrist placement's rows between the hand and the separator.
const std::string wristRows = "(x) Always ( ) When I look at it ( ) Off\n{ Size 6.0 cm }\n{ Offset +0.0 cm }\n"
                              "{ Tilt +0\xC2\xB0 }\n[ Reset placement ]\n";

// Package texts are data: a '%' in them is a character.
TEST_F(MenuPanelTest, TheRowsShowTheirTextsAndTheWatchsTextsLiterally) {
    install({"100% %d %s"}, "50%% off, %n");
    const std::string rows = credit + "\n[ Disable ]\nDisplay watch on [ left hand ]\n" + wristRows + std::string(32, '-');
    EXPECT_EQ(frame(), rows + "\n100% %d %s\n50%% off, %n\n");
    settings.initialWatchName = "Gone";
    EXPECT_EQ(frame(), rows + "\n\n") << "nothing after the separator for a watch that is not installed";
}

// The window can be neither moved, resized nor collapsed; the program's
// sessions show its picture of the watch upright.
TEST_F(MenuPanelTest, TheWindowStaysWhereItIs) {
    install({"Alpha"});
    const ImGuiWindow* window = ImGui::FindWindowByName(credit.c_str());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Flags & (ImGuiWindowFlags_NoTitleBar | ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoMove |
                               ImGuiWindowFlags_NoCollapse),
              ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoCollapse);
}

// Enable and Disable are never saved.
TEST_F(MenuPanelTest, StepButtonsShowOnlyWhereANeighbourIsAndSaveTheChoiceAtOnce) {
    install({"Alpha"});
    EXPECT_FALSE(findMenuButton("Previous") || findMenuButton("Next")) << "one watch has no neighbour";
    for (const char* unsaved : {"Disable", "Enable"}) EXPECT_EQ(click(unsaved), std::make_pair(true, std::string()));
    install({"Alpha", "Beta", "Gamma"});
    EXPECT_FALSE(findMenuButton("Previous"));
    ASSERT_TRUE(findMenuButton("Next"));
    EXPECT_EQ(findMenuButton("Next")->left, findMenuButton("Disable")->left) << "alone on its line";
    EXPECT_EQ(click("Next"), std::make_pair(true, std::string("watchOnRightHand=false\ninitialWatchName=Beta\n")));
    ASSERT_TRUE(findMenuButton("Previous") && findMenuButton("Next"));
    EXPECT_EQ(findMenuButton("Next")->top, findMenuButton("Previous")->top) << "side by side";
    EXPECT_GT(findMenuButton("Next")->left, findMenuButton("Previous")->right);
    EXPECT_EQ(click("Next"), std::make_pair(true, std::string("watchOnRightHand=false\ninitialWatchName=Gamma\n")));
    EXPECT_FALSE(findMenuButton("Next")) << "the last watch has none after it";
    EXPECT_EQ(click("Previous"), std::make_pair(true, std::string("watchOnRightHand=false\ninitialWatchName=Beta\n")));
}

}  // namespace
