// The mouse functions: _MOUSEINPUT, _MOUSEX, _MOUSEY, _MOUSEBUTTON, _MOUSEWHEEL,
// _MOUSEMOVEMENTX, _MOUSEMOVEMENTY and _MOUSEHIDDEN.
#include "input/mouse_functions.h"

#include <algorithm>
#include <cmath>

#include "display/presenter_environment.h"
#include "error/error.h"
#include "font/font_tables.h"
#include "image/image_table.h"
#include "image/img_struct.h"
#include "input/mouse_ring.h"
#include "input/mouse_statements.h"
#include "text/console_input.h"

namespace {

bool reading_console() {
    const img_struct* page = read_page();
    return page && page->console;
}

// Window pixel v to the display page's coordinate: screen pixel, or 1-based cell
// on a text page.
float window_to_page(int32_t v, int32_t origin, float scale, int32_t frame_size, bool horizontal) {
    double s = double(v - origin);
    double mapped = std::nearbyint((s + 0.5) / double(scale) - 0.5);
    mapped = std::clamp(mapped, 0.0, double(std::max(0, frame_size - 1)));
    const img_struct* page = display_page();
    if (!page) return float(mapped);
    int32_t cell = 1;
    int32_t page_size = horizontal ? page->width : page->height;
    if (page->text) {
        cell = horizontal ? fontwidth[page->font].load() : fontheight[page->font].load();
        if (cell <= 0) cell = 8;
        page_size *= cell;
    }
    if (mapped > page_size - 1) mapped = std::max(0, page_size - 1);
    if (page->text) return float(std::floor(mapped / cell) + 1);
    return float(mapped);
}

}  // namespace

int32_t func__mouseinput() { return mouse_ring_advance(); }

float mouse_message_x(const mouse_message& m) {
    return window_to_page(m.x.load(std::memory_order_relaxed), environment_2d__screen_x1.load(),
                          environment_2d__screen_x_scale.load(), environment_2d__screen_width.load(), true);
}

float mouse_message_y(const mouse_message& m) {
    return window_to_page(m.y.load(std::memory_order_relaxed), environment_2d__screen_y1.load(),
                          environment_2d__screen_y_scale.load(), environment_2d__screen_height.load(), false);
}

float func__mousex() {
    if (reading_console()) return float(console_mouse_x);
    return mouse_message_x(mouse_current_message());
}

float func__mousey() {
    if (reading_console()) return float(console_mouse_y);
    return mouse_message_y(mouse_current_message());
}

int32_t func__mousebutton(int32_t n) {
    if (n <= 0) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return 0;
    }
    if (reading_console()) {
        if (n > 5) return 0;
        return console_mouse_buttons & (1 << (n - 1));
    }
    if (n > 3) return 0;
    // Button 2 is the right button, 3 the middle one.
    static const uint32_t bit[3] = {1, 4, 2};
    return (mouse_current_message().buttons.load(std::memory_order_relaxed) & bit[n - 1]) ? -1 : 0;
}

int32_t func__mousewheel() {
    if (reading_console()) {
        if (console_mouse_buttons < -256) return -1;
        if (console_mouse_buttons > 256) return 1;
        return 0;
    }
    uint32_t buttons = mouse_current_message().buttons.load(std::memory_order_relaxed);
    bool up = buttons & 8, down = buttons & 16;
    if (up && down) return 0;
    if (up) return -1;
    if (down) return 1;
    return 0;
}

float func__mousemovementx() { return mouse_current_message().movement_x.load(std::memory_order_relaxed); }
float func__mousemovementy() { return mouse_current_message().movement_y.load(std::memory_order_relaxed); }

int32_t func__mousehidden() { return mouse_hidden(); }
