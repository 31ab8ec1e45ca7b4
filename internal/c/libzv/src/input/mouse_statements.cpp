// _MOUSEHIDE, _MOUSESHOW and _MOUSEMOVE: cursor and pointer requests to the window thread.
#include "input/mouse_statements.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <string>

#include "display/presenter_environment.h"
#include "error/error.h"
#include "font/font_tables.h"
#include "glut/glut_queue.h"
#include "image/image_table.h"
#include "image/img_struct.h"
#include "string/zvs.h"

namespace {

// The windowing library's cursor ids.
constexpr int32_t cursor_none = 101;
int32_t mouse_cursor_style = 1;
std::atomic<int32_t> hidden{0};

struct cursor_name {
    const char* name;
    int32_t id;
};
constexpr cursor_name cursor_names[] = {
    {"DEFAULT", 1},     {"LINK", 2},     {"TEXT", 8},
    {"CROSSHAIR", 9},   {"VERTICAL", 10}, {"HORIZONTAL", 11},
    {"TOPLEFT_BOTTOMRIGHT", 16}, {"TOPRIGHT_BOTTOMLEFT", 17}, {"WAIT", 7},
    {"HELP", 4},        {"CYCLE", 5},    {"MOVE", 5},
};

}  // namespace

int32_t mouse_hidden() { return hidden.load(std::memory_order_relaxed); }
int32_t mouse_cursor_style_now() { return mouse_cursor_style; }

void mouse_statements_reset_for_tests() {
    mouse_cursor_style = 1;
    hidden = 0;
}

void sub__mousehide() {
    if (!libzv_is_glut_up()) return;
    libzv_glut_set_cursor(cursor_none);
    hidden.store(-1, std::memory_order_relaxed);
}

void sub__mouseshow(zvs* style, int32_t passed) {
    if (new_error_is_set() || !libzv_is_glut_up()) return;
    if (passed && style) {
        std::string name(reinterpret_cast<const char*>(style->text), size_t(style->length));
        for (char& c : name)
            if (c >= 'a' && c <= 'z') c = char(c - 32);  // ASCII only, whatever the locale
        int32_t id = 0;
        for (const cursor_name& entry : cursor_names)
            if (name == entry.name) id = entry.id;
        if (!id) {
            error(ERR_ILLEGAL_FUNCTION_CALL);
            return;
        }
        mouse_cursor_style = id;
    }
    libzv_glut_set_cursor(mouse_cursor_style);
    hidden.store(0, std::memory_order_relaxed);
}

void sub__mousemove(float x, float y) {
    if (!libzv_is_glut_up()) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }
    const img_struct* page = display_page();
    if (!page) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }
    double px, py;
    if (page->text) {
        int32_t columns = page->width, rows = page->height;
        // Written so that NaN is refused too.
        if (!(x >= 0.5f && y >= 0.5f && x <= columns + 0.5 && y <= rows + 0.5)) {
            error(ERR_ILLEGAL_FUNCTION_CALL);
            return;
        }
        int32_t fw = fontwidth[page->font].load(), fh = fontheight[page->font].load();
        if (fw <= 0) fw = 8;
        if (fh <= 0) fh = 16;
        px = std::nearbyint((double(x) - 0.5) * fw);
        py = std::nearbyint((double(y) - 0.5) * fh);
        // The bottom and right edges (x = columns + 0.5) land one pixel outside.
        px = std::clamp(px, 0.0, double(columns * fw - 1));
        py = std::clamp(py, 0.0, double(rows * fh - 1));
    } else {
        px = std::nearbyint(double(x));
        py = std::nearbyint(double(y));
        if (!(px >= 0 && py >= 0 && px < page->width && py < page->height)) {
            error(ERR_ILLEGAL_FUNCTION_CALL);
            return;
        }
    }
    // X carries the pointer's place in the window in 16 signed bits: a place beyond
    // them is the nearest one they hold, never a wrapped one.
    double wx = std::trunc(px * environment_2d__screen_x_scale.load()) + environment_2d__screen_x1.load();
    double wy = std::trunc(py * environment_2d__screen_y_scale.load()) + environment_2d__screen_y1.load();
    libzv_glut_warp_pointer(int32_t(std::clamp(wx, -32768.0, 32767.0)), int32_t(std::clamp(wy, -32768.0, 32767.0)));
}
