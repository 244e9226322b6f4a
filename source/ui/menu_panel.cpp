#include "ui/menu_panel.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>

#include <imgui.h>

#include "config/settings.h"
#include "ui/menu_buttons.h"
#include "ui/wrist_controls.h"
#include "watch/watch_catalogue.h"

namespace {

// Also the window's identity in ImGui. Short enough for the title bar in the
// 64-pixel menu font.
constexpr char creditLine[] = "Horlox by quillmere - github.com/quillmere/horlox";
constexpr float watchPictureSize = 256.0f;

// Package texts are data: a '%' in them is a character, not a format.
void literalText(const std::string& text) {
    ImGui::TextUnformatted(text.data(), text.data() + text.size());
}

void chooseWatch(Settings& settings, const WatchListing& watch) {
    settings.initialWatchName = watch.name;
    settings.needsRedraw = true;
    settings.save();
}

// A package's text whole: wrapped within the width and as many lines of
// the height as it may take, smaller where it needs more; only past the
// smallest size is it cut with "…".
void packageText(FontChain& fonts, TextTexture& image, const std::string& text, float height) {
    const int width = static_cast<int>(ImGui::GetContentRegionAvail().x);
    if (!image.holds(text)) {
        for (const float pixels : {64.0f, 48.0f, 40.0f, 32.0f}) {
            const int lines = std::max(1, static_cast<int>(height / (pixels * 1.25f)));
            if (!image.draw(fonts, text, {pixels, width, lines, 255, 255, 255}).cut) break;
        }
    }
    image.show();
}

void drawWatchChooser(Settings& settings, const WatchCatalogue& catalogue, GLuint watchTexture) {
    const WatchListing& current = catalogue.shown(settings.initialWatchName);
    if (auto* texts = static_cast<PackageTexts*>(ImGui::GetIO().UserData)) {
        // Below them come the picture and a row of buttons.
        const float room = ImGui::GetContentRegionAvail().y - watchPictureSize - 2 * ImGui::GetFrameHeightWithSpacing();
        packageText(texts->fonts, texts->name, current.name, 80);
        packageText(texts->fonts, texts->description, current.description, room - texts->name.block().height);
    } else {
        literalText(current.name);
        ImGui::TextWrapped("%s", current.description.c_str());
    }
    // The target holds the image upside down as OpenGL does; flip it back.
    ImGui::Image(reinterpret_cast<ImTextureID>(static_cast<std::uintptr_t>(watchTexture)),
                 ImVec2(watchPictureSize, watchPictureSize), ImVec2(0, 1), ImVec2(1, 0));

    if (const WatchListing* before = catalogue.previous(current.name)) {
        if (menuButton("Previous")) chooseWatch(settings, *before);
        ImGui::SameLine();
    }
    // Asked again: "Previous" may have just moved the current watch.
    if (const WatchListing* after = catalogue.next(catalogue.shown(settings.initialWatchName).name)) {
        if (menuButton("Next")) chooseWatch(settings, *after);
    }
}

#ifdef HORLOX_WITH_NOTIFICATIONS
// The label names the current state; the senders' switches show while on.
void drawNotificationControls(Settings& settings) {
    NotificationChoices& chosen = settings.notifications;
    if (menuButton(chosen.shown ? "Notifications: On" : "Notifications: Off")) {
        chosen.shown = !chosen.shown;
        settings.save();
    }
    if (!chosen.shown) return;
    const std::pair<const char*, bool*> senders[] = {{"Desktop", &chosen.fromDesktop},
                                                     {"XSOverlay senders", &chosen.fromXsOverlay},
                                                     {"OVR Toolkit senders", &chosen.fromOvrToolkit}};
    for (const auto& [label, on] : senders) {
        // Beside the one before where the whole label fits, else below it.
        const float width = ImGui::GetFrameHeight() + ImGui::GetStyle().ItemInnerSpacing.x + ImGui::CalcTextSize(label).x;
        if (on != &chosen.fromDesktop) {
            ImGui::SameLine();
            if (ImGui::GetContentRegionAvail().x < width) ImGui::NewLine();
        }
        if (ImGui::Checkbox(label, on)) settings.save();
        noteMenuControl(label);
    }
}
#endif

}  // namespace

void drawMenuPanel(Settings& settings, const WatchCatalogue& catalogue, GLuint watchTexture) {
    forgetMenuButtons();
    ImGui::SetNextWindowPos(ImVec2(0, 0), ImGuiCond_Always, ImVec2(0, 0));
    ImGui::SetNextWindowSize(ImVec2(menuSize, menuSize), ImGuiCond_Always);
    ImGui::Begin(creditLine, nullptr,
                 ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoCollapse);

    // A choice that could not be saved still holds for this run; the next
    // change tries again.
    if (!settings.saveFailure.empty()) {
        ImGui::PushStyleColor(ImGuiCol_Text, ImVec4(1.0f, 0.45f, 0.35f, 1.0f));
        ImGui::TextWrapped("Your choices cannot be saved: %s", settings.saveFailure.c_str());
        ImGui::PopStyleColor();
    }

    // The label names the action; whether the watch shows is not kept across runs.
    if (menuButton(settings.watchEnabled ? "Disable" : "Enable")) {
        settings.needsRedraw = true;
        settings.watchEnabled = !settings.watchEnabled;
    }

    // The label names the current hand.
    ImGui::TextUnformatted("Display watch on");
    ImGui::SameLine();
    if (menuButton(settings.watchOnRightHand ? "right hand" : "left hand")) {
        settings.needsRedraw = true;
        settings.watchOnRightHand = !settings.watchOnRightHand;
        settings.save();
    }
    drawWristControls(settings);
#ifdef HORLOX_WITH_NOTIFICATIONS
    drawNotificationControls(settings);
#endif

    ImGui::Separator();
    drawWatchChooser(settings, catalogue, watchTexture);
    ImGui::End();
}
