#pragma once

#include <functional>
#include <optional>
#include <string>

// A point of the client's menu in its pixels, from the top-left corner.
struct MenuPoint {
    float x = 0, y = 0;
};

// The centre of the client's menu button with that label, where its most
// recent frame drew it; none when that frame has no such button. The
// scenario's clicks aim there, so they follow the menu's layout.
using MenuButtonFinder = std::function<std::optional<MenuPoint>(const std::string& label)>;
