// _WIDTH, _HEIGHT, _PIXELSIZE, _CLEARCOLOR, _BLEND, _DEFAULTCOLOR, _BACKGROUNDCOLOR.
#include "image/image_properties.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include "error/error.h"
#include "image/hardware_image.h"
#include "image/hardware_queue.h"
#include "image/image_handle.h"
#include "image/image_table.h"

void console_window_size(int32_t* columns, int32_t* rows) {
    for (int fd : {STDOUT_FILENO, STDERR_FILENO, STDIN_FILENO}) {
        winsize ws{};
        if (ioctl(fd, TIOCGWINSZ, &ws) == 0 && ws.ws_col > 0 && ws.ws_row > 0) {
            *columns = ws.ws_col;
            *rows = ws.ws_row;
            return;
        }
    }
    *columns = 80;
    *rows = 25;
}

namespace {

// The console case of _WIDTH and _HEIGHT. A program without a console has
// console_image 0, which must not make page 0 count as the console.
bool names_console(int32_t handle, int32_t passed) {
    int32_t c = console_image();
    if (!c) return false;
    if (passed) return handle == c;
    return read_page_index() == (c < 0 ? -c : c);
}

// The record an optional argument names, or null after error 258.
img_struct* image_of(int32_t handle, int32_t passed) {
    int32_t index = image_index_or_write(handle, passed);
    return index ? img_get(index) : nullptr;
}

int32_t size_of(int32_t handle, int32_t passed, bool width) {
    if (new_error) return 0;
    if (names_console(handle, passed)) {
        int32_t columns, rows;
        console_window_size(&columns, &rows);
        return width ? columns : rows;
    }
    if (passed) {
        if (hardware_img_struct* hw = get_hardware_img(handle)) return width ? hw->w : hw->h;
    }
    img_struct* im = image_of(handle, passed);
    if (!im) return 0;
    return width ? im->width : im->height;
}

}  // namespace

int32_t func__width(int32_t handle, int32_t passed) { return size_of(handle, passed, true); }
int32_t func__height(int32_t handle, int32_t passed) { return size_of(handle, passed, false); }

int32_t func__pixelsize(int32_t handle, int32_t passed) {
    if (new_error) return 0;
    img_struct* im = image_of(handle, passed);
    if (!im) return 0;
    if (im->text) return 0;
    return im->bytes_per_pixel == 4 ? 4 : 1;
}

int32_t func__clearcolor(int32_t handle, int32_t passed) {
    if (new_error) return 0;
    img_struct* im = image_of(handle, passed);
    if (!im) return 0;
    if (im->text) return -1;
    if (im->bytes_per_pixel == 4) return 0;
    return im->clear_color;
}

int32_t func__blend(int32_t handle, int32_t passed) {
    if (new_error) return 0;
    img_struct* im = image_of(handle, passed);
    if (!im) return 0;
    return im->bytes_per_pixel == 4 && !im->blend_off ? -1 : 0;
}

uint32_t func__defaultcolor(int32_t handle, int32_t passed) {
    if (new_error) return 0;
    img_struct* im = image_of(handle, passed);
    return im ? im->color : 0;
}

uint32_t func__backgroundcolor(int32_t handle, int32_t passed) {
    if (new_error) return 0;
    img_struct* im = image_of(handle, passed);
    return im ? im->background_color : 0;
}
