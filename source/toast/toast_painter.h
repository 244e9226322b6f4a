#pragma once

#include "ui/text_texture.h"

// OpenGL's name for its objects, without the GL headers.
typedef unsigned int GLuint;
struct ImGuiContext;
struct RenderTarget;
struct Toast;

// A toast's image: 512 x 256 pixels, drawn as OpenGL draws (first row at the
// bottom), like the watch's.
constexpr int toastWidth = 512;
constexpr int toastHeight = 256;
// What a toast shows of a notification's content before it is cut with "…".
constexpr int toastContentLines = 8;

struct ToastTexts {
    TextTexture sender, title, content;
};

// Draws toasts with Dear ImGui in a context of its own, so that the menu's
// context (its windows, input and frames) never sees them: the sender, the
// title, the content wrapped and cut, how many equal ones came, and the icon
// when one came; the texts in any script through the text engine. Needs the
// GL context current while it lives and draws.
class ToastPainter {
public:
    // The texts in that chain of fonts, or in ImGui's own font without one.
    explicit ToastPainter(FontChain* fonts);
    ~ToastPainter();
    ToastPainter(const ToastPainter&) = delete;
    ToastPainter& operator=(const ToastPainter&) = delete;

    void paint(const Toast& toast, const RenderTarget& target);

private:
    ImGuiContext* context = nullptr;
    GLuint iconTexture = 0;
    FontChain* fonts;
    ToastTexts texts;
};
