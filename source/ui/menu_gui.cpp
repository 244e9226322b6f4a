#include "ui/menu_gui.h"

#include <backends/imgui_impl_opengl3.h>
#include <imgui.h>

#include "ui/menu_font.h"

MenuGui setUpMenuGui(FT_Library freeType, const std::string& menuFontFile, const std::string& fontsFolder) {
    const std::optional<std::vector<char>> menuFont = readMenuFont(freeType, menuFontFile.c_str());
    ImGui::CreateContext();
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr;
    if (menuFont) addMenuFont(*menuFont, 64.0f);
    ImGui::StyleColorsDark();
    ImGui_ImplOpenGL3_Init("#version 130");
    MenuGui gui;
    if (!menuFont) return gui;
    gui.outsideFonts = createFontChain(freeType, *menuFont, fontsFolder);
    if (gui.outsideFonts) {
        gui.packageTexts = std::make_unique<PackageTexts>(*gui.outsideFonts);
        io.UserData = gui.packageTexts.get();
    }
    return gui;
}
