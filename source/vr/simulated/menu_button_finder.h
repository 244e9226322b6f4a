#pragma once

#include <functional>
#include <optional>
#include <string>

// A control of the client's menu in its pixels, from the top-left corner.
struct MenuRect {
    float left = 0, top = 0, right = 0, bottom = 0;
};

// The client's menu control (a button, a slider) with that label, where its
// most recent frame drew it; none when that frame has no such control. The
// scenario's clicks and drags aim there, so they follow the menu's layout.
using MenuButtonFinder = std::function<std::optional<MenuRect>(const std::string& label)>;
