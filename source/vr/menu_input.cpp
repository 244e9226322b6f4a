#include "vr/menu_input.h"

#include <imgui.h>

void feedPointerEvent(ImGuiIO& io, const PointerEvent& event) {
    switch (event.kind) {
        case PointerEvent::Kind::Move:
            io.MousePos = ImVec2(event.x * io.DisplaySize.x, event.y * io.DisplaySize.y);
            break;
        case PointerEvent::Kind::Press:
        case PointerEvent::Kind::Release:
            // A button the menu does not know acts as the main one.
            io.MouseDown[event.button >= 0 && event.button < 3 ? event.button : 0] =
                event.kind == PointerEvent::Kind::Press;
            break;
        case PointerEvent::Kind::Scroll:
            io.MouseWheel += event.y;
            io.MouseWheelH += event.x;
            break;
    }
}
