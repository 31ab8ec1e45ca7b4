// _SCREENMOVE, _SCREENX, _SCREENY, _SCREENICON and the window queries.
#include "window/screen_position.h"

#include <algorithm>

#include "core/runtime_flags.h"
#include "display/presenter.h"
#include "error/error.h"
#include "glut/glut_queue.h"
#include "glut/window_hooks.h"
#include "input/keyboard_glut.h"
#include "platform/x11_desktop.h"
#include "window/window_words.h"

namespace {

enum : int32_t {
    GET_WINDOW_X = 100,
    GET_WINDOW_Y = 101,
    GET_WINDOW_WIDTH = 102,
    GET_WINDOW_HEIGHT = 103,
    GET_SCREEN_WIDTH = 200,
    GET_SCREEN_HEIGHT = 201,
    GET_BORDER_WIDTH = 506,
    GET_HEADER_HEIGHT = 507,
};

}  // namespace

void sub__screenmove(int32_t x, int32_t y, int32_t mode) {
    if (new_error_is_set()) return;
    if ((mode != 1 && mode != 2) || !libzv_is_glut_up()) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }
    if (full_screen.load()) return;
    if (mode == 1) {
        // Centred on the desktop, the primary monitor; without the runtime's own X
        // connection, on the screen the windowing library knows.
        x11_rect desktop;
        if (!x11_desktop_area(&desktop)) {
            int32_t screen_width = libzv_glut_get(GET_SCREEN_WIDTH);
            while (screen_width == -1 && !stop_program.load()) screen_width = libzv_glut_get(GET_SCREEN_WIDTH);
            desktop = {0, 0, screen_width, libzv_glut_get(GET_SCREEN_HEIGHT)};
        }
        int32_t width = libzv_glut_get(GET_WINDOW_WIDTH);
        int32_t height = libzv_glut_get(GET_WINDOW_HEIGHT);
        x = desktop.x + (desktop.width - width) / 2;
        y = desktop.y + (desktop.height - height) / 2;
    }
    // X carries a window's position in 16 signed bits: a farther place is the farthest
    // one, never a wrapped one.
    libzv_glut_position_window(std::clamp(x, -32768, 32767), std::clamp(y, -32768, 32767));
}

int32_t func__screenx() {
    if (new_error_is_set()) return 0;
    if (!libzv_is_glut_up()) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return 0;
    }
    return libzv_glut_get(GET_WINDOW_X) - libzv_glut_get(GET_BORDER_WIDTH);
}

int32_t func__screeny() {
    if (new_error_is_set()) return 0;
    if (!libzv_is_glut_up()) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return 0;
    }
    // The frame's outer top edge. The windowing library's header height is the whole
    // top extent of the frame, its border included, not the title bar alone.
    return libzv_glut_get(GET_WINDOW_Y) - libzv_glut_get(GET_HEADER_HEIGHT);
}

void sub_screenicon() {
    if (new_error_is_set()) return;
    if (!libzv_is_glut_up()) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }
    libzv_glut_iconify_window();
}

int32_t func_screenicon() {
    if (new_error_is_set() || !libzv_is_glut_up() || !window_handle) return 0;
    return x11_window_iconic(static_cast<unsigned long>(window_handle)) ? -1 : 0;
}

int32_t func_windowexists() {
    if (new_error_is_set()) return 0;
    return libzv_is_glut_up() ? 1 : 0;
}

int64_t func__handle() {
    if (new_error_is_set() || !libzv_is_glut_up()) return 0;
    return int64_t(window_handle);
}

int32_t func__hasfocus() {
    if (new_error_is_set() || !libzv_is_glut_up()) return 0;
    return keyboard_has_focus() ? -1 : 0;
}

int32_t func_screenwidth() {
    if (new_error_is_set()) return 0;
    int32_t width = 0, height = 0;
    x11_desktop_size(&width, &height);
    return width;
}

int32_t func_screenheight() {
    if (new_error_is_set()) return 0;
    int32_t width = 0, height = 0;
    x11_desktop_size(&width, &height);
    return height;
}

void set_foreground_window(intptr_t handle) { x11_activate_window(static_cast<unsigned long>(handle)); }
