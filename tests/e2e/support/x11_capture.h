// Pictures of windows for pixel-exact checks: capture, move and resize.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

struct x11_picture {
    int32_t width = 0, height = 0;
    std::vector<uint32_t> pixels;  // 0xRRGGBB, rows from the top
    uint32_t at(int32_t x, int32_t y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// The window's contents now (empty when it cannot be read).
x11_picture x11_capture(unsigned long window);
// Current client size of a window.
bool x11_window_size(unsigned long window, int32_t* width, int32_t* height);
// Moves (resizes) the window with xdotool and waits for the tool.
bool xdotool_move(unsigned long window, int32_t x, int32_t y);
bool xdotool_resize(unsigned long window, int32_t width, int32_t height);
