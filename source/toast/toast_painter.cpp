#include "toast/toast_painter.h"

#include <cstdint>
#include <string>
#include <string_view>

#include <GL/glew.h>
#include <backends/imgui_impl_opengl3.h>
#include <imgui.h>

#include "gl/render_target.h"
#include "notifications/toast_queue.h"
#include "ui/menu_font.h"

namespace {

constexpr float iconSide = 96.0f;
constexpr char ellipsis[] = "...";

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

// The content as lines wrapped to the width, at most toastContentLines; when
// more would follow, the last one is cut to end in "...".
std::string wrappedAndCut(std::string_view text, float width) {
    ImFont* font = ImGui::GetFont();
    const float size = ImGui::GetFontSize();
    std::string lines;
    const char* rest = text.data();
    const char* end = text.data() + text.size();
    for (int line = 0; line < toastContentLines && rest < end; ++line) {
        const char* lineEnd = font->CalcWordWrapPositionA(1.0f, rest, end, width);
        if (lineEnd == rest) ++lineEnd;  // a character wider than the toast still takes a line
        const char* next = lineEnd;
        while (next < end && (*next == ' ' || *next == '\n')) ++next;
        std::string_view shown(rest, static_cast<std::size_t>(lineEnd - rest));
        if (!shown.empty() && shown.back() == '\n') shown.remove_suffix(1);
        if (line + 1 == toastContentLines && next < end) {
            // Cut whole UTF-8 characters until the ellipsis fits.
            const float ellipsisWidth = font->CalcTextSizeA(size, width, 0, ellipsis).x;
            while (!shown.empty() &&
                   font->CalcTextSizeA(size, width, 0, shown.data(), shown.data() + shown.size()).x +
                           ellipsisWidth > width) {
                do shown.remove_suffix(1);
                while (!shown.empty() && (static_cast<unsigned char>(shown.back()) & 0xC0) == 0x80);
                if (!shown.empty() && static_cast<unsigned char>(shown.back()) >= 0xC0) shown.remove_suffix(1);
            }
            lines.append(shown).append(ellipsis);
            break;
        }
        lines.append(shown).append("\n");
        rest = next;
    }
    return lines;
}

void uploadIcon(GLuint texture, const NotificationIcon& icon) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, icon.width, icon.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 icon.rgba.data());
}

void drawToastPanel(const Toast& toast, GLuint iconTexture) {
    const Notification& notification = toast.notification;
    ImGui::SetNextWindowPos(ImVec2(0, 0));
    ImGui::SetNextWindowSize(ImVec2(toastWidth, toastHeight));
    ImGui::Begin("toast", nullptr,
                 ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoInputs |
                     ImGuiWindowFlags_NoSavedSettings);
    if (!notification.icon.rgba.empty()) {
        ImGui::Image(reinterpret_cast<ImTextureID>(static_cast<std::uintptr_t>(iconTexture)),
                     ImVec2(iconSide, iconSide));
        ImGui::SameLine();
    }
    ImGui::BeginGroup();
    std::string source = notification.sourceName.empty()
                             ? std::string(notificationSourceName(notification.source))
                             : notification.sourceName;
    if (toast.count > 1) source += "  (" + std::to_string(toast.count) + ")";
    ImGui::TextColored(ImVec4(0.6f, 0.7f, 0.9f, 1), "%s", source.c_str());
    ImGui::TextUnformatted(notification.title.data(), notification.title.data() + notification.title.size());
    const std::string content =
        wrappedAndCut(notification.content, ImGui::GetContentRegionAvail().x);
    ImGui::TextUnformatted(content.data(), content.data() + content.size());
    ImGui::EndGroup();
    ImGui::End();
}

}  // namespace

ToastPainter::ToastPainter(const std::optional<std::vector<char>>& font) {
    const ContextSwitch current(ImGui::CreateContext());
    context = ImGui::GetCurrentContext();
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr;
    io.DisplaySize = ImVec2(toastWidth, toastHeight);
    if (font) addMenuFont(*font, 24.0f);
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
    if (!toast.notification.icon.rgba.empty()) uploadIcon(iconTexture, toast.notification.icon);
    glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
    glViewport(0, 0, toastWidth, toastHeight);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    ImGui_ImplOpenGL3_NewFrame();
    ImGui::NewFrame();
    drawToastPanel(toast, iconTexture);
    ImGui::Render();
    ImGui_ImplOpenGL3_RenderDrawData(ImGui::GetDrawData());
}
