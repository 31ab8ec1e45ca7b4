// PSET, PRESET, POINT and the pixel primitives pset_and_clip and point.
#include "draw/point.h"

#include <cstring>

#include "draw/coordinates.h"
#include "draw/graphics_open.h"
#include "draw/pset.h"
#include "error/error.h"
#include "image/image_table.h"

void pset_and_clip(int32_t x, int32_t y, uint32_t col) {
    img_struct* im = write_page();
    if (in_view(im->graphics, x, y)) pset_on(im, x, y, col);
}

uint32_t point(int32_t x, int32_t y) {
    const img_struct* im = read_page();
    size_t at = static_cast<size_t>(y) * im->width + static_cast<size_t>(x);
    if (im->bytes_per_pixel == 1) return im->pixels[at] & im->pixel_mask;
    uint32_t v;
    memcpy(&v, im->pixels + at * 4, 4);
    return v;
}

void sub_pset(float x, float y, uint32_t col, int32_t passed) {
    img_struct* im = graphics_write_page();
    if (!im) return;
    img_graphics_state& g = im->graphics;
    step_from_cursor(passed & 1, g, x, y);
    // Out-of-range and NaN coordinates map to -2147483648, which is never drawn.
    int32_t px = map_x(g, x), py = map_y(g, y);
    g.x = x;
    g.y = y;
    if (!(passed & 2)) col = im->color;
    im->draw_color = col;
    bool visible = g.clipping_or_scaling == 0 ? px >= 0 && px < im->width && py >= 0 && py < im->height
                                              : in_view(g, px, py);
    if (visible) pset_on(im, px, py, col);
}

void sub_preset(float x, float y, uint32_t col, int32_t passed) {
    if (new_error_is_set()) return;
    if (!(passed & 2)) {
        col = write_page()->background_color;
        passed |= 2;
    }
    sub_pset(x, y, col, passed);
}

double func_point(float x, float y, int32_t passed) {
    if (passed) {
        const img_struct* im = graphics_read_page();
        if (!im) return 0;
        const img_graphics_state& g = im->graphics;
        int32_t px = map_x(g, x), py = map_y(g, y);
        if (!in_view(g, px, py)) return -1;
        return point(px, py);
    }
    const img_struct* im = graphics_write_page();
    if (!im) return 0;
    const img_graphics_state& g = im->graphics;
    int32_t n = round_float_to_int32(x);
    if (n < 0 || n > 3) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return 0;
    }
    if (n >= 2) return n == 2 ? g.x : g.y;
    // The cursor on the pixel grid, without the VIEW offset (as PMAP).
    float v = n == 0 ? g.x : g.y;
    if (g.clipping_or_scaling == 2) {
        float scaled = v * (n == 0 ? g.scaling_x : g.scaling_y);
        v = scaled + (n == 0 ? g.scaling_offset_x : g.scaling_offset_y);
    }
    return round_float_to_int32(v);
}
