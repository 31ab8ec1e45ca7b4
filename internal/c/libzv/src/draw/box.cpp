// zv32_boxfill and the fill engine fast_boxfill.
#include "draw/box.h"

#include <cassert>
#include <cstring>
#include <utility>

#include "draw/blend.h"
#include "draw/coordinates.h"
#include "image/image_table.h"

void fast_boxfill(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t col) {
    img_struct* im = write_page();
    assert(!im->text && x1 >= 0 && y1 >= 0 && x1 <= x2 && y1 <= y2 && x2 < im->width && y2 < im->height);
    size_t width = im->width;
    size_t columns = static_cast<size_t>(x2 - x1) + 1;
    if (im->bytes_per_pixel == 1) {
        uint8_t value = static_cast<uint8_t>(col & im->pixel_mask);
        for (int32_t y = y1; y <= y2; y++) memset(im->pixels + y * width + x1, value, columns);
        return;
    }
    uint32_t alpha = col >> 24;
    size_t row_bytes = columns * 4;
    uint8_t* first = im->pixels + (y1 * width + x1) * 4;
    if (im->blend_off || alpha == 255) {
        // One row written, then copied.
        for (size_t i = 0; i < columns; i++) memcpy(first + i * 4, &col, 4);
        for (int32_t y = y1 + 1; y <= y2; y++) memcpy(im->pixels + (y * width + x1) * 4, first, row_bytes);
        return;
    }
    if (alpha == 0) return;
    for (int32_t y = y1; y <= y2; y++) {
        uint8_t* p = im->pixels + (y * width + x1) * 4;
        for (size_t i = 0; i < columns; i++, p += 4) {
            uint32_t old;
            memcpy(&old, p, 4);
            uint32_t v = blend_pixel(old, col);
            memcpy(p, &v, 4);
        }
    }
}

void zv32_boxfill(float x1, float y1, float x2, float y2, uint32_t col) {
    const img_graphics_state& g = write_page()->graphics;
    int32_t px1 = map_x(g, x1), py1 = map_y(g, y1);
    int32_t px2 = map_x(g, x2), py2 = map_y(g, y2);
    if (px1 > px2) std::swap(px1, px2);
    if (py1 > py2) std::swap(py1, py2);
    if (px2 < g.view_x1 || px1 > g.view_x2 || py2 < g.view_y1 || py1 > g.view_y2) return;
    if (px1 < g.view_x1) px1 = g.view_x1;
    if (py1 < g.view_y1) py1 = g.view_y1;
    if (px2 > g.view_x2) px2 = g.view_x2;
    if (py2 > g.view_y2) py2 = g.view_y2;
    fast_boxfill(px1, py1, px2, py2, col);
}
