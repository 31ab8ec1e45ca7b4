// LINE, the styled line zv32_line and the solid line fast_line.
#include "draw/line.h"

#include <bit>
#include <cstdlib>
#include <cstring>

#include "draw/blend.h"
#include "draw/box.h"
#include "draw/coordinates.h"
#include "draw/lineclip.h"
#include "error/error.h"
#include "image/image_table.h"

namespace {

// Steps from the clipped first point to the clipped second point, one float addition
// per pixel, rounding the minor axis half away from zero. The pattern is rotated
// left once per pixel and its bit 0 decides whether the pixel is written. A minor
// coordinate that drifted off the VIEW rectangle (float error on very long lines)
// is not written.
// r stays between two clipped end points (plus float drift), far inside int32.
inline int32_t nearest_away(float r) {
    double d = r;
    return static_cast<int32_t>(d < 0 ? d - 0.5 : d + 0.5);
}

template <class Put>
void step_line(const img_graphics_state& g, uint32_t pattern, Put put) {
    int32_t x1 = lineclip_x1, y1 = lineclip_y1, x2 = lineclip_x2, y2 = lineclip_y2;
    int32_t dx = std::abs(x2 - x1);
    int32_t dy = std::abs(y2 - y1);
    if (dx > dy) {
        float r = static_cast<float>(y1);
        float step = static_cast<float>(y2 - y1) / static_cast<float>(dx);
        int32_t xs = x2 >= x1 ? 1 : -1;
        uint32_t span = static_cast<uint32_t>(g.view_y2 - g.view_y1);
        for (int32_t i = 0, x = x1; i <= dx; i++, x += xs, r += step) {
            pattern = std::rotl(pattern, 1);
            int32_t y = nearest_away(r);
            if ((pattern & 1) && static_cast<uint32_t>(y) - static_cast<uint32_t>(g.view_y1) <= span) put(x, y);
        }
    } else {
        float r = static_cast<float>(x1);
        float step = dy ? static_cast<float>(x2 - x1) / static_cast<float>(dy) : 0.0f;
        int32_t ys = y2 >= y1 ? 1 : -1;
        uint32_t span = static_cast<uint32_t>(g.view_x2 - g.view_x1);
        for (int32_t i = 0, y = y1; i <= dy; i++, y += ys, r += step) {
            pattern = std::rotl(pattern, 1);
            int32_t x = nearest_away(r);
            if ((pattern & 1) && static_cast<uint32_t>(x) - static_cast<uint32_t>(g.view_x1) <= span) put(x, y);
        }
    }
}

// The clipped line with the pixel rule, its loop chosen once per line.
void draw_clipped(img_struct* im, uint32_t col, uint32_t pattern) {
    const img_graphics_state& g = im->graphics;
    uint8_t* pixels = im->pixels;
    size_t width = im->width;
    if (im->bytes_per_pixel == 1) {
        uint8_t value = static_cast<uint8_t>(col & im->pixel_mask);
        step_line(g, pattern, [=](int32_t x, int32_t y) { pixels[y * width + x] = value; });
        return;
    }
    uint32_t alpha = col >> 24;
    if (im->blend_off || alpha == 255) {
        step_line(g, pattern, [=](int32_t x, int32_t y) { memcpy(pixels + (y * width + x) * 4, &col, 4); });
        return;
    }
    if (alpha == 0) return;
    step_line(g, pattern, [=](int32_t x, int32_t y) {
        uint8_t* p = pixels + (y * width + x) * 4;
        uint32_t old;
        memcpy(&old, p, 4);
        uint32_t v = blend_pixel(old, col);
        memcpy(p, &v, 4);
    });
}

}  // namespace

uint32_t rotateLeft(uint32_t value, uint32_t count) { return std::rotl(value, static_cast<int>(count & 31)); }

void zv32_line(float x1, float y1, float x2, float y2, uint32_t col, uint32_t style) {
    img_struct* im = write_page();
    const img_graphics_state& g = im->graphics;
    lineclip(map_x(g, x1), map_y(g, y1), map_x(g, x2), map_y(g, y2), g.view_x1, g.view_y1, g.view_x2, g.view_y2);
    // The pattern goes on as if the clipped-off start had been drawn.
    uint32_t pattern = (style & 0xFFFF) + (style << 16);
    pattern = rotateLeft(pattern, static_cast<uint32_t>(lineclip_skippixels) & 15);
    if (!lineclip_draw) return;
    draw_clipped(im, col, pattern);
}

void fast_line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t col) {
    img_struct* im = write_page();
    const img_graphics_state& g = im->graphics;
    lineclip(x1, y1, x2, y2, g.view_x1, g.view_y1, g.view_x2, g.view_y2);
    if (!lineclip_draw) return;
    draw_clipped(im, col, 0xFFFFFFFF);
}

void sub_line(float x1, float y1, float x2, float y2, uint32_t col, int32_t box, uint32_t style, int32_t passed) {
    if (new_error_is_set()) return;
    img_struct* im = write_page();
    if (im->text) {
        error(5);
        return;
    }
    img_graphics_state& g = im->graphics;
    if (passed & 1) {
        if (passed & 4) {
            x1 += g.x;
            y1 += g.y;
        }
        g.x = x1;
        g.y = y1;
    } else {
        x1 = g.x;
        y1 = g.y;
    }
    if (passed & 2) {
        x2 += g.x;
        y2 += g.y;
    }
    g.x = x2;
    g.y = y2;
    if (!(passed & 8)) col = im->color;
    if (box == 0 || box == 1 || box == 2) im->draw_color = col;
    if (!(passed & 16)) style = 0xFFFF;
    switch (box) {
        case 0:
            zv32_line(x1, y1, x2, y2, col, style);
            break;
        case 1:
            // Each edge starts the pattern afresh; corners in the order written.
            zv32_line(x1, y1, x2, y1, col, style);
            zv32_line(x2, y1, x2, y2, col, style);
            zv32_line(x2, y2, x1, y2, col, style);
            zv32_line(x1, y2, x1, y1, col, style);
            break;
        case 2:
            zv32_boxfill(x1, y1, x2, y2, col);
            break;
        default:
            break;
    }
}
