#include "vr/menu_input.h"

#include <imgui.h>

namespace {

int imGuiMouseButton(std::uint32_t button) {
    switch (button) {
        case VRMouseButton_Right:
            return 1;
        case VRMouseButton_Middle:
            return 2;
        default:
            return 0;
    }
}

}  // namespace

void feedMenuEvent(ImGuiIO& io, const VREvent_t& event) {
    switch (event.eventType) {
        case VREvent_MouseMove:
            io.MousePos = ImVec2(event.data.mouse.x * io.DisplaySize.x,
                                 (1.0f - event.data.mouse.y) * io.DisplaySize.y);
            break;
        case VREvent_MouseButtonDown:
        case VREvent_MouseButtonUp:
            io.MouseDown[imGuiMouseButton(event.data.mouse.button)] =
                event.eventType == VREvent_MouseButtonDown;
            break;
        case VREvent_ScrollDiscrete:
        case VREvent_ScrollSmooth:
            io.MouseWheel += event.data.scroll.ydelta;
            io.MouseWheelH += event.data.scroll.xdelta;
            break;
    }
}
