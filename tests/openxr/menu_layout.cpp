#include "menu_layout.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <imgui.h>

#include "config/settings.h"
#include "ui/menu_font.h"
#include "ui/menu_panel.h"
#include "watch/watch_catalogue.h"

std::optional<ButtonPlace> menuButtonInFolder(const std::string& folder, const std::string& label) {
    Settings settings;
    settings.load(folder + "/settings.conf");
    FT_Library freeType = nullptr;
    if (FT_Init_FreeType(&freeType) != 0) return std::nullopt;
    std::optional<ButtonPlace> place;
    {
        WatchCatalogue catalogue(settings, nullptr, folder + "/watches");
        ImGui::CreateContext();
        ImGuiIO& io = ImGui::GetIO();
        io.IniFilename = nullptr;
        // The program takes the font from its working folder, as it does the
        // watches: without one there, ImGui's own.
        if (const auto font = readMenuFont(freeType, (folder + "/Roboto-Medium.ttf").c_str()))
            addMenuFont(*font, 64.0f);
        ImGui::StyleColorsDark();
        io.Fonts->Build();
        io.DisplaySize = ImVec2(menuSize, menuSize);
        // The second frame, as a window's first one only measures.
        for (int frame = 0; frame < 2; ++frame) {
            ImGui::NewFrame();
            drawMenuPanel(settings, catalogue, 0);
            ImGui::EndFrame();
        }
        place = findMenuButton(label);
        ImGui::DestroyContext();
    }
    FT_Done_FreeType(freeType);
    return place;
}
