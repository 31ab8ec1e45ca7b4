// WINDOW and PMAP: the map between program coordinates and the VIEW rectangle.
#include "draw/coordinates.h"

#include <utility>

#include "draw/graphics_open.h"
#include "error/error.h"
#include "image/image_table.h"

void zvg_sub_window(float x1, float y1, float x2, float y2, int32_t passed) {
    img_struct* im = graphics_write_page();
    if (!im) return;
    bool rectangle = passed & 1;
    bool screen = passed & 2;
    if ((screen && !rectangle) || (rectangle && (x1 == x2 || y1 == y2))) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }
    img_graphics_state& g = im->graphics;
    // The cursor keeps its place on the pixel grid.
    float sx = g.x, sy = g.y;
    if (g.clipping_or_scaling == 2) {
        float px = g.x * g.scaling_x;
        sx = px + g.scaling_offset_x;
        float py = g.y * g.scaling_y;
        sy = py + g.scaling_offset_y;
    }
    float last_x = static_cast<float>(im->width - 1);
    float last_y = static_cast<float>(im->height - 1);
    if (rectangle) {
        if (x1 > x2) std::swap(x1, x2);
        if (y1 > y2) std::swap(y1, y2);
        // Without SCREEN the larger y is the top edge.
        if (!screen) std::swap(y1, y2);
        float view_w = static_cast<float>(g.view_x2 - g.view_x1);
        float view_h = static_cast<float>(g.view_y2 - g.view_y1);
        g.clipping_or_scaling = 2;
        g.scaling_x = view_w / (x2 - x1);
        g.scaling_y = view_h / (y2 - y1);
        g.scaling_offset_x = -x1 * g.scaling_x;
        if (screen) {
            g.scaling_offset_y = -y1 * g.scaling_y;
        } else {
            float shifted = -y2 * g.scaling_y;
            g.scaling_offset_y = shifted + view_h;
        }
        g.window_x1 = x1;
        g.window_y1 = y1;
        g.window_x2 = x2;
        g.window_y2 = y2;
        bool identity = x1 == 0 && y1 == 0 && x2 == last_x && y2 == last_y && g.scaling_x == 1 && g.scaling_y == 1 &&
                        g.scaling_offset_x == 0 && g.scaling_offset_y == 0;
        if (!identity) {
            g.x = (sx - g.scaling_offset_x) / g.scaling_x;
            g.y = (sy - g.scaling_offset_y) / g.scaling_y;
            return;
        }
    }
    // No window (or the identity window).
    g.clipping_or_scaling = 1;
    g.scaling_x = 1;
    g.scaling_y = 1;
    g.scaling_offset_x = 0;
    g.scaling_offset_y = 0;
    g.window_x1 = 0;
    g.window_y1 = 0;
    g.window_x2 = last_x;
    g.window_y2 = last_y;
    if (g.view_x1 == 0 && g.view_y1 == 0 && g.view_x2 == im->width - 1 && g.view_y2 == im->height - 1 &&
        g.view_offset_x == 0 && g.view_offset_y == 0)
        g.clipping_or_scaling = 0;
    g.x = sx;
    g.y = sy;
}

float func_pmap(float value, int32_t function) {
    const img_struct* im = graphics_write_page();
    if (!im) return 0;
    const img_graphics_state& g = im->graphics;
    switch (function) {
        case 0: {
            float scaled = value * g.scaling_x;
            return static_cast<float>(round_float_to_int32(scaled + g.scaling_offset_x));
        }
        case 1: {
            float scaled = value * g.scaling_y;
            return static_cast<float>(round_float_to_int32(scaled + g.scaling_offset_y));
        }
        case 2:
            return static_cast<float>((static_cast<double>(round_float_to_int32(value)) - g.scaling_offset_x) /
                                      g.scaling_x);
        case 3:
            return static_cast<float>((static_cast<double>(round_float_to_int32(value)) - g.scaling_offset_y) /
                                      g.scaling_y);
        default:
            error(ERR_ILLEGAL_FUNCTION_CALL);
            return 0;
    }
}
