#pragma once

#include <memory>
#include <string>

class WatchCatalogue;
struct MenuGui;
struct Settings;

// The menu's ImGui context with its OpenGL 3 back end, as the program sets it
// up with the menu font of that file (ImGui's own where it is missing or
// unfit), for the life of one test; ImGui writes no settings file meanwhile.
// Needs the GL context current.
class MenuGuiContext {
public:
    explicit MenuGuiContext(const std::string& menuFontFile = "");
    ~MenuGuiContext();
    MenuGuiContext(const MenuGuiContext&) = delete;
    MenuGuiContext& operator=(const MenuGuiContext&) = delete;

private:
    std::unique_ptr<MenuGui> gui;
};

// One frame of the menu panel at the menu's full size, with no texture, and
// what ImGui rendered of its text, one line per row: buttons in brackets.
std::string drawMenuFrame(Settings& settings, const WatchCatalogue& catalogue);
