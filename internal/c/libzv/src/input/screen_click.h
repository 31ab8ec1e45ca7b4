// _SCREENCLICK: a click at a desktop position, injected into the system's input.
#pragma once
#include <cstdint>

// _SCREENCLICK x, y[, button] (passed 1: the button): 1 left, 2 right, 3 middle;
// left when not given or any other value.
void sub__screenclick(int32_t x, int32_t y, int32_t button, int32_t passed);

// Where the events go; tests record them. nullptr: the desktop through XTest.
struct screen_click_ops {
    void (*move)(int32_t x, int32_t y);
    void (*button)(int32_t x_button, bool press);  // 1 left, 2 middle, 3 right
};
void screen_click_set_ops(const screen_click_ops* ops);
