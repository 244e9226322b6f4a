// The menu panel on its own: what it shows, and what its buttons change.
#include <gtest/gtest.h>
#include <cfloat>
#include <filesystem>
#include <memory>
#include <imgui.h>

#include "config/settings.h"
#include "support/gl_test_context.h"
#include "platform/log.h"
#include "support/debug_output_capture.h"
#include "support/menu_gui_context.h"
#include "support/test_files.h"
#include "support/watch_package_fixture.h"
#include "text/text_fonts.h"
#include "ui/menu_buttons.h"
#include "ui/menu_font.h"
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
                              "{ Tilt +0\xC2\xB0 }\n[ Reset placement ]\n[ Notifications: On ]\n"
                              "[x] Desktop [x] XSOverlay senders [x] OVR Toolkit senders\n";

// Package texts are data: a '%' in them is a character.
TEST_F(MenuPanelTest, TheRowsShowTheirTextsAndTheWatchsTextsLiterally) {
    install({"100% %d %s"}, "50%% off, %n");
    const std::string rows = credit + "\n[ Disable ]\nDisplay watch on [ left hand ]\n" + wristRows + std::string(32, '-');
    EXPECT_EQ(frame(), rows + "\n100% %d %s\n50%% off, %n\n");
    settings.initialWatchName = "Gone";
    EXPECT_EQ(frame(), rows + "\n100% %d %s\n50%% off, %n\n") << "the first stands in for a watch not installed";
}

// With the text engine, a package's name and description show in any
// script and whole: wrapped, and smaller where they need it.
TEST_F(MenuPanelTest, PackageTextsShowInAnyScriptAndWhole) {
    const FontChainPointer fonts = chainWith();
    PackageTexts texts(*fonts);
    ImGui::GetIO().UserData = &texts;
    std::string description;
    for (int i = 0; i < 8; ++i) description += "A dial from Tokyo in brushed steel that goes on and on. ";
    description.pop_back();
    install({"東京"}, description);
    EXPECT_NE(frame().find("東京\n" + description + "\n"), std::string::npos);
    EXPECT_FALSE(texts.name.block().cut);
    EXPECT_FALSE(texts.description.block().cut);
    EXPECT_GT(texts.description.block().lines, 2);
    ImGui::GetIO().UserData = nullptr;
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

// A choice that cannot be saved still holds for the run; the menu says why
// until a later change is saved.
TEST_F(MenuPanelTest, AChoiceThatCannotBeSavedIsSaidAndTriedAgainAtTheNextChange) {
    install({"Alpha"});
    const std::string old = "watchOnRightHand=false\ninitialWatchName=Alpha\n";
    writeFile(settingsFileName, old);
    namespace fs = std::filesystem;
    fs::permissions(settingsFileName, fs::perms::owner_read);
    EXPECT_EQ(click("left hand"), std::make_pair(true, old));
    EXPECT_TRUE(settings.watchOnRightHand);
    const std::string unsaved = "Your choices cannot be saved: settings.conf is read-only";
    const std::string rows = frame();
    EXPECT_LT(rows.find(unsaved), rows.find("[ Disable ]")) << "on top: " << rows;
    fs::permissions(settingsFileName, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(click("When I look at it").second,
              "watchOnRightHand=true\ninitialWatchName=Alpha\nwatchVisibility=whenLookedAt\n");
    EXPECT_EQ(frame().find(unsaved), std::string::npos);
}

// Notifications and each kind of sender are switched and saved at once; the
// senders' switches show only while notifications are on.
TEST_F(MenuPanelTest, NotificationSwitchesAreSavedAtOnce) {
    install({"Alpha"});
    const std::string saved = "watchOnRightHand=false\ninitialWatchName=Alpha\n";
    EXPECT_EQ(click("XSOverlay senders").second, saved + "notificationsFromXsOverlay=false\n");
    EXPECT_EQ(click("Notifications: On").second, saved + "notifications=off\nnotificationsFromXsOverlay=false\n");
    EXPECT_FALSE(findMenuButton("Desktop")) << "hidden while off";
    EXPECT_EQ(click("Notifications: Off").second, saved + "notificationsFromXsOverlay=false\n");
    EXPECT_EQ(click("XSOverlay senders").second, saved);
}

// Only a font whose face FreeType opens with the menu's glyphs is taken, and
// it builds; any other file leaves ImGui's own font and one log line.
TEST(MenuFontTest, OnlyAFontFitForTheMenuIsTaken) {
    TemporaryDirectory scratch;
    const std::string path = scratch.path() + "/Roboto-Medium.ttf", dejaVu = dejaVuSansBytes();
    const std::string bitmapFont =
        "STARTFONT 2.1\nFONT -x-y-Medium-R-Normal--8-80-75-75-C-60-ISO10646-1\nSIZE 8 75 75\n"
        "FONTBOUNDINGBOX 6 8 0 -1\nCHARS 1\nSTARTCHAR A\nENCODING 65\nSWIDTH 750 0\nDWIDTH 6 0\nBBX 6 8 0 -1\n"
        "BITMAP\n70\n88\n88\nF8\n88\n88\n88\n00\nENDCHAR\nENDFONT\n";
    // An empty file is the program test's (TheStartRegistersOnceAndSetsUpBothOverlaysAndDamagedFilesGiveWay).
    const std::pair<std::string, bool> fonts[] = {{dejaVu, true},
                                                  {bitmapFont, false},
                                                  {dejaVu.substr(0, 64), false},
                                                  {dejaVu.substr(0, dejaVu.size() / 2), false}};
    loggingEnabled = true;
    for (const auto& [bytes, taken] : fonts) {
        writeFile(path, bytes);
        const DebugOutputCapture output;
        const std::optional<std::vector<char>> font = readMenuFont(testFontLibrary(), path.c_str());
        EXPECT_EQ(font.has_value(), taken) << bytes.size() << " bytes";
        EXPECT_EQ(output.text().find("] The menu font " + path + " cannot be used") == std::string::npos, taken)
            << output.text();
        if (!font) continue;
        ImGuiContext* previous = ImGui::GetCurrentContext();
        ImGuiContext* context = ImGui::CreateContext();
        addMenuFont(*font, 64.0f);
        EXPECT_TRUE(ImGui::GetIO().Fonts->Build());
        ImGui::DestroyContext(context);
        ImGui::SetCurrentContext(previous);
    }
    loggingEnabled = false;
}

}  // namespace
