#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Looks at another process's top-level windows on the test display, the way a
// user or window manager would see them.
struct WindowFacts {
    int x = 0, y = 0, width = 0, height = 0;
    bool viewable = false;
};

// The facts of the first top-level window with the title, if there is one.
std::optional<WindowFacts> findWindowByTitle(const std::string& title);

// Asks the titled window to close, as a window manager's close button does.
bool requestWindowClose(const std::string& title);

// The colours (0xRRGGBB, on the tests' 24-bit display) of a rectangle of the
// titled window, row by row from its top; empty when there is no such window
// or it cannot be read.
std::vector<std::uint32_t> readWindowPixels(const std::string& title, int x, int y, int width, int height);
