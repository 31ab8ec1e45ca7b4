// Graphics coordinates: the map from program coordinates to pixels (WINDOW map,
// VIEW offset, rounding), the VIEW test, and WINDOW, VIEW and PMAP.
#pragma once
#include <cfloat>
#include <cstdint>

#include "draw/rounding.h"
#include "image/img_struct.h"

// The single-precision formulas must stay single precision.
static_assert(FLT_EVAL_METHOD == 0);

// The pixel that mapped points are placed from. A WINDOW spans the VIEW rectangle,
// so in mode 2 that is the rectangle's top-left corner, also after VIEW SCREEN;
// otherwise the VIEW offset (0 after VIEW SCREEN, whose coordinates are absolute).
// After a plain VIEW the two are the same.
inline int32_t map_origin_x(const img_graphics_state& g) {
    return g.clipping_or_scaling == 2 ? g.view_x1 : g.view_offset_x;
}
inline int32_t map_origin_y(const img_graphics_state& g) {
    return g.clipping_or_scaling == 2 ? g.view_y1 : g.view_offset_y;
}

// A program coordinate as a pixel of the image: rounded ties to even after the
// WINDOW map (mode 2, float product then float sum), plus the origin (mode 1 and
// 2; the sum wraps to int32, so an out-of-range coordinate stays far outside).
inline int32_t map_x(const img_graphics_state& g, float x) {
    if (g.clipping_or_scaling == 0) return round_float_to_int32(x);
    if (g.clipping_or_scaling == 2) {
        float scaled = x * g.scaling_x;
        x = scaled + g.scaling_offset_x;
    }
    return static_cast<int32_t>(static_cast<int64_t>(round_float_to_int32(x)) + map_origin_x(g));
}

inline int32_t map_y(const img_graphics_state& g, float y) {
    if (g.clipping_or_scaling == 0) return round_float_to_int32(y);
    if (g.clipping_or_scaling == 2) {
        float scaled = y * g.scaling_y;
        y = scaled + g.scaling_offset_y;
    }
    return static_cast<int32_t>(static_cast<int64_t>(round_float_to_int32(y)) + map_origin_y(g));
}

// Inside the VIEW rectangle: a single point there is drawn.
inline bool in_view(const img_graphics_state& g, int32_t px, int32_t py) {
    return px >= g.view_x1 && px <= g.view_x2 && py >= g.view_y1 && py <= g.view_y2;
}

// WINDOW [[SCREEN] (x1, y1)-(x2, y2)]; passed bit 1 the rectangle, bit 2 SCREEN.
void zvg_sub_window(float x1, float y1, float x2, float y2, int32_t passed);
// VIEW [[SCREEN] (x1, y1)-(x2, y2)[, [fill][, border]]]; passed bits 1 rectangle,
// 2 SCREEN, 4 fill colour, 8 border colour.
void zvg_sub_view(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t fill, uint32_t border, int32_t passed);
// PMAP(value, function): 0/1 program x/y to pixel, 2/3 pixel to program x/y, all
// relative to the VIEW origin.
float func_pmap(float value, int32_t function);
