#include "menu_layout.h"

#include "config/settings.h"
#include "support/gl_test_context.h"
#include "support/menu_gui_context.h"
#include "watch/watch_catalogue.h"

std::optional<ButtonPlace> menuButtonInFolder(const std::string& folder, const std::string& label) {
    ensureGlContext();
    const MenuGuiContext gui(folder + "/Roboto-Medium.ttf");
    Settings settings;
    settings.load(folder + "/settings.conf");
    const WatchCatalogue catalogue(settings, nullptr, folder + "/watches");
    // The second frame, as a window's first one only measures.
    drawMenuFrame(settings, catalogue);
    drawMenuFrame(settings, catalogue);
    return findMenuButton(label);
}
