// VIEW: the clipping rectangle, its offset, its fill and its border.
#include <utility>

#include "draw/box.h"
#include "draw/coordinates.h"
#include "draw/pset.h"
#include "error/error.h"
#include "image/image_table.h"

namespace {

// The frame one pixel outside the VIEW rectangle; pixels outside the image are
// skipped. Only the top-left corner is written twice.
void view_border(img_struct* im, uint32_t col) {
    const img_graphics_state& g = im->graphics;
    int32_t w = im->width, h = im->height;
    auto row = [&](int32_t y, int32_t from, int32_t to) {
        if (y < 0 || y >= h) return;
        for (int32_t x = from; x <= to; x++)
            if (x >= 0 && x < w) pset_on(im, x, y, col);
    };
    auto column = [&](int32_t x, int32_t from, int32_t to) {
        if (x < 0 || x >= w) return;
        for (int32_t y = from; y <= to; y++)
            if (y >= 0 && y < h) pset_on(im, x, y, col);
    };
    row(g.view_y1 - 1, g.view_x1 - 1, g.view_x2);
    row(g.view_y2 + 1, g.view_x1 - 1, g.view_x2);
    column(g.view_x1 - 1, g.view_y1 - 1, g.view_y2);
    column(g.view_x2 + 1, g.view_y1 - 1, g.view_y2 + 1);
}

}  // namespace

void zvg_sub_view(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t fill, uint32_t border, int32_t passed) {
    if (new_error_is_set()) return;
    img_struct* im = write_page();
    bool rectangle = passed & 1;
    if (rectangle) {
        auto inside = [&](int32_t x, int32_t y) { return x >= 0 && x < im->width && y >= 0 && y < im->height; };
        if (!inside(x1, y1) || !inside(x2, y2)) {
            error(ERR_ILLEGAL_FUNCTION_CALL);
            return;
        }
    } else if (passed & (2 | 4 | 8)) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }
    // Colours would be written as pixels into a text image's cells.
    if (im->text && (passed & (4 | 8))) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }
    img_graphics_state& g = im->graphics;
    g.draw_angle = 0;
    g.draw_scale = 1;
    if (rectangle) {
        if (x1 > x2) std::swap(x1, x2);
        if (y1 > y2) std::swap(y1, y2);
        g.view_x1 = x1;
        g.view_y1 = y1;
        g.view_x2 = x2;
        g.view_y2 = y2;
        bool screen = passed & 2;
        g.view_offset_x = screen ? 0 : x1;
        g.view_offset_y = screen ? 0 : y1;
        if (g.clipping_or_scaling == 0) g.clipping_or_scaling = 1;
    } else {
        g.view_x1 = 0;
        g.view_y1 = 0;
        g.view_x2 = im->width - 1;
        g.view_y2 = im->height - 1;
        g.view_offset_x = 0;
        g.view_offset_y = 0;
        if (g.clipping_or_scaling == 1) g.clipping_or_scaling = 0;
    }
    if (g.clipping_or_scaling == 2) {
        // The stored WINDOW onto the new VIEW rectangle; the cursor stays.
        float view_h = static_cast<float>(g.view_y2 - g.view_y1);
        g.scaling_x = static_cast<float>(g.view_x2 - g.view_x1) / (g.window_x2 - g.window_x1);
        g.scaling_y = view_h / (g.window_y2 - g.window_y1);
        g.scaling_offset_x = -g.window_x1 * g.scaling_x;
        g.scaling_offset_y = -g.window_y1 * g.scaling_y;
        if (g.window_y1 > g.window_y2) {
            float shifted = -g.window_y2 * g.scaling_y;
            g.scaling_offset_y = shifted + view_h;
        }
    }
    // Covers exactly the VIEW rectangle: a WINDOW's rectangle maps onto it, with or
    // without SCREEN; without a WINDOW the whole image is clamped to it.
    if (passed & 4) zv32_boxfill(g.window_x1, g.window_y1, g.window_x2, g.window_y2, fill);
    if (passed & 8) view_border(im, border);
}
