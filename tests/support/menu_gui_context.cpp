#include "support/menu_gui_context.h"

#include <GL/glew.h>
#include <string>
#include <backends/imgui_impl_opengl3.h>
#include <imgui.h>

#include "support/watch_package_fixture.h"
#include "ui/menu_gui.h"

MenuGuiContext::MenuGuiContext(const std::string& menuFontFile)
    : gui(std::make_unique<MenuGui>(setUpMenuGui(testFontLibrary(), menuFontFile, ""))) {
    // ImGui binds again the program it found bound; one that an earlier test
    // deleted with its watch would be gone by then.
    glUseProgram(0);
}

MenuGuiContext::~MenuGuiContext() {
    ImGui_ImplOpenGL3_Shutdown();
    ImGui::DestroyContext();
}

std::string drawMenuFrame(Settings& settings, const WatchCatalogue& catalogue) {
    ImGui_ImplOpenGL3_NewFrame();
    ImGui::GetIO().DisplaySize = ImVec2(menuSize, menuSize);
    ImGui::NewFrame();
    // ImGui's own text capture sees every text as it is rendered; the end of
    // the window ends it and leaves the text on ImGui's clipboard.
    ImGui::SetClipboardText("");
    ImGui::LogToClipboard();
    drawMenuPanel(settings, catalogue, 0);
    const std::string rendered = ImGui::GetClipboardText();
    ImGui::Render();
    return rendered;
}
