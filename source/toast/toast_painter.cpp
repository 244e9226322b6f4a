#include "toast/toast_painter.h"

#include <cstdint>
#include <string>
#include <string_view>

#include <GL/glew.h>
#include <backends/imgui_impl_opengl3.h>
#include <imgui.h>

#include "gl/render_target.h"
#include "gl/rgba_texture.h"
#include "notifications/toast_queue.h"

namespace {

constexpr float iconSide = 96.0f;
// A sender's line, two lines of title and eight of content fit the height.
constexpr float senderPixels = 18, titlePixels = 22, contentPixels = 17;

// Makes `context` current while it lives and gives the previous one back.
class ContextSwitch {
public:
    explicit ContextSwitch(ImGuiContext* context) : previous(ImGui::GetCurrentContext()) {
        ImGui::SetCurrentContext(context);
    }
    ~ContextSwitch() { ImGui::SetCurrentContext(previous); }
    ContextSwitch(const ContextSwitch&) = delete;
    ContextSwitch& operator=(const ContextSwitch&) = delete;

private:
    ImGuiContext* previous;
};

// The sender with the count, the title in two lines at most and the
// content in toastContentLines, each cut with "…" where more would follow.
// Without the text engine's fonts ImGui's own font draws what it can.
void drawToastTexts(const Toast& toast, FontChain* fonts, ToastTexts& texts) {
    const Notification& notification = toast.notification;
    std::string sender = notification.sourceName.empty() ? std::string(notificationSourceName(notification.source))
                                                         : notification.sourceName;
    if (toast.count > 1) sender += "  (" + std::to_string(toast.count) + ")";
    const int width = static_cast<int>(ImGui::GetContentRegionAvail().x);
    if (!fonts) {
        ImGui::TextColored(ImVec4(0.6f, 0.7f, 0.9f, 1), "%s", sender.c_str());
        ImGui::TextWrapped("%s", notification.title.c_str());
        ImGui::TextWrapped("%s", notification.content.c_str());
        return;
    }
    texts.sender.show(*fonts, sender, {senderPixels, width, 1, 153, 178, 230});
    texts.title.show(*fonts, notification.title, {titlePixels, width, 2, 255, 255, 255});
    texts.content.show(*fonts, notification.content, {contentPixels, width, toastContentLines, 220, 220, 220});
}

void drawToastPanel(const Toast& toast, GLuint iconTexture, FontChain* fonts, ToastTexts& texts) {
    ImGui::SetNextWindowPos(ImVec2(0, 0));
    ImGui::SetNextWindowSize(ImVec2(toastWidth, toastHeight));
    ImGui::Begin("toast", nullptr,
                 ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoInputs |
                     ImGuiWindowFlags_NoSavedSettings);
    if (!toast.notification.icon.rgba.empty()) {
        ImGui::Image(reinterpret_cast<ImTextureID>(static_cast<std::uintptr_t>(iconTexture)),
                     ImVec2(iconSide, iconSide));
        ImGui::SameLine();
    }
    ImGui::BeginGroup();
    drawToastTexts(toast, fonts, texts);
    ImGui::EndGroup();
    ImGui::End();
}

// With the text engine every text is an image of its own, and the panel
// takes only the white pixel of ImGui's atlas: sampled nearest, that costs
// a software rasteriser one fetch for each pixel of the panel instead of
// four. Lines are then smoothed by their geometry, as their baked textures
// need linear filtering. Done in every frame: the backend makes the atlas
// in the first toast's, which spares the program's start making it.
void sampleAtlasNearest() {
    ImGui::GetStyle().AntiAliasedLinesUseTex = false;
    filterTexture(static_cast<GLuint>(reinterpret_cast<std::uintptr_t>(ImGui::GetIO().Fonts->TexID)), GL_NEAREST);
}

}  // namespace

ToastPainter::ToastPainter(FontChain* fonts) : fonts(fonts) {
    // CreateContext makes the new context current where none was: the
    // switch gives back the one before, none included.
    ImGuiContext* const before = ImGui::GetCurrentContext();
    context = ImGui::CreateContext();
    ImGui::SetCurrentContext(before);
    const ContextSwitch current(context);
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr;
    io.DisplaySize = ImVec2(toastWidth, toastHeight);
    ImGui::StyleColorsDark();
    ImGui::GetStyle().WindowRounding = 12.0f;
    ImGui_ImplOpenGL3_Init("#version 130");
    glGenTextures(1, &iconTexture);
}

ToastPainter::~ToastPainter() {
    glDeleteTextures(1, &iconTexture);
    const ContextSwitch current(context);
    ImGui_ImplOpenGL3_Shutdown();
    ImGui::DestroyContext(context);
}

void ToastPainter::paint(const Toast& toast, const RenderTarget& target) {
    const ContextSwitch current(context);
    const NotificationIcon& icon = toast.notification.icon;
    if (!icon.rgba.empty()) uploadRgbaTexture(iconTexture, icon.width, icon.height, icon.rgba.data());
    glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
    glViewport(0, 0, toastWidth, toastHeight);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    ImGui_ImplOpenGL3_NewFrame();
    if (fonts) sampleAtlasNearest();
    ImGui::NewFrame();
    drawToastPanel(toast, iconTexture, fonts, texts);
    ImGui::Render();
    ImGui_ImplOpenGL3_RenderDrawData(ImGui::GetDrawData());
}
