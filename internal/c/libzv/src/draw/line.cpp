// LINE, the styled line zv32_line and the solid line fast_line.
#include "draw/line.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "draw/blend.h"
#include "draw/box.h"
#include "draw/coordinates.h"
#include "draw/graphics_open.h"
#include "draw/lineclip.h"
#include "error/error.h"
#include "image/image_table.h"

namespace {

// One line of pixels walked along its major axis. A pixel's offset in the buffer is
// start + i * major_stride + m * minor_stride, where m is the minor coordinate: the
// running value r (one float addition per pixel) rounded half away from zero.
struct walk {
    ptrdiff_t start;         // x1 (x-major) or y1 * width (y-major)
    ptrdiff_t major_stride;  // +-1 (x-major) or +-width (y-major)
    ptrdiff_t minor_stride;  // width (x-major) or 1 (y-major)
    int32_t steps;           // pixels - 1
    float r, step;
    int32_t low;             // the VIEW rectangle's range for m: low..low + span
    uint32_t span;
    bool plain;              // r provably stays at 0.5 or above and m inside low..low + span
};

// r stays between two clipped end points (plus float drift), far inside int32.
inline int32_t nearest_away(float r) {
    double d = r;
    return static_cast<int32_t>(d < 0 ? d - 0.5 : d + 0.5);
}

// The pattern is rotated left once per pixel and its bit 0 decides whether the pixel
// is written (solid: every bit set, nothing to rotate). A minor coordinate that
// drifted off the VIEW rectangle (float error on very long lines) is not written;
// a plain walk has no drift to fear and no sign or tie near zero to round.
template <bool solid, bool plain, class Put>
void walk_line(const walk& w, uint32_t pattern, Put put) {
    ptrdiff_t at = w.start;
    float r = w.r;
    for (int32_t i = w.steps; i >= 0; i--, at += w.major_stride, r += w.step) {
        if constexpr (!solid) {
            pattern = std::rotl(pattern, 1);
            if (!(pattern & 1)) continue;
        }
        ptrdiff_t m;
        if constexpr (plain) {
            m = round_half_away_from_half_up(r);
        } else {
            m = nearest_away(r);
            if (static_cast<uint32_t>(m) - static_cast<uint32_t>(w.low) > w.span) continue;
        }
        put(at + m * w.minor_stride);
    }
}

template <class Put>
void walk_any(const walk& w, uint32_t pattern, Put put) {
    if (pattern == 0xFFFFFFFFu) {
        if (w.plain)
            walk_line<true, true>(w, pattern, put);
        else
            walk_line<true, false>(w, pattern, put);
    } else {
        if (w.plain)
            walk_line<false, true>(w, pattern, put);
        else
            walk_line<false, false>(w, pattern, put);
    }
}

// Float drift: after n additions |r - exact| <= n * 2^-24 * (M + 3), M the larger
// end-point magnitude (rounding of the step and of each sum). Below 1/7 when
// n * (M + 3) <= 2^21, which covers every line of screens up to about 1400 pixels;
// r then rounds onto the end points' range, and stays above 0.5 when both minor
// coordinates are 1 or more.
bool plain_walk(int32_t steps, int32_t m1, int32_t m2) {
    int64_t magnitude = std::max(int64_t(m1), int64_t(m2));
    return std::min(m1, m2) >= 1 && int64_t(steps) * (magnitude + 3) <= (int64_t(1) << 21);
}

// The clipped line (x1, y1)-(x2, y2) with the pixel rule, its loop chosen once per line.
void draw_clipped(img_struct* im, uint32_t col, uint32_t pattern, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    const img_graphics_state& g = im->graphics;
    ptrdiff_t width = im->width;
    // The two axes' roles chosen by masks, not by branching: lines come in every
    // direction, and a mispredicted branch costs as much as a short line.
    int64_t x_major = -int64_t(std::abs(x2 - x1) > std::abs(y2 - y1));  // all ones or 0
    auto pick = [x_major](int64_t if_x, int64_t if_y) { return if_y ^ ((if_x ^ if_y) & x_major); };
    int32_t major1 = int32_t(pick(x1, y1)), major2 = int32_t(pick(x2, y2));
    int32_t minor1 = int32_t(pick(y1, x1)), minor2 = int32_t(pick(y2, x2));
    ptrdiff_t major_unit = pick(1, width);
    int64_t backwards = -int64_t(major2 < major1);
    int32_t steps = std::abs(major2 - major1);
    walk w;
    w.start = major1 * major_unit;
    w.major_stride = (major_unit ^ backwards) - backwards;  // -major_unit when backwards
    w.minor_stride = pick(width, 1);
    w.steps = steps;
    w.r = static_cast<float>(minor1);
    w.step = steps ? static_cast<float>(minor2 - minor1) / static_cast<float>(steps) : 0.0f;
    w.low = int32_t(pick(g.view_y1, g.view_x1));
    w.span = static_cast<uint32_t>(pick(g.view_y2 - g.view_y1, g.view_x2 - g.view_x1));
    w.plain = plain_walk(steps, minor1, minor2);
    uint8_t* pixels = im->pixels;
    if (im->bytes_per_pixel == 1) {
        uint8_t value = static_cast<uint8_t>(col & im->pixel_mask);
        walk_any(w, pattern, [=](ptrdiff_t at) { pixels[at] = value; });
        return;
    }
    uint32_t alpha = col >> 24;
    if (im->blend_off || alpha == 255) {
        walk_any(w, pattern, [=](ptrdiff_t at) { memcpy(pixels + at * 4, &col, 4); });
        return;
    }
    if (alpha == 0) return;
    walk_any(w, pattern, [=](ptrdiff_t at) {
        uint8_t* p = pixels + at * 4;
        uint32_t old;
        memcpy(&old, p, 4);
        uint32_t v = blend_pixel(old, col);
        memcpy(p, &v, 4);
    });
}

// Clips the pixel line to the VIEW rectangle and draws what remains with the pattern,
// continued as if the clipped-off start had been drawn.
void clip_and_draw(img_struct* im, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t col, uint32_t pattern) {
    const img_graphics_state& g = im->graphics;
    lineclip_inline(x1, y1, x2, y2, g.view_x1, g.view_y1, g.view_x2, g.view_y2);
    if (!lineclip_draw) return;
    pattern = rotateLeft(pattern, static_cast<uint32_t>(lineclip_skippixels) & 15);
    draw_clipped(im, col, pattern, lineclip_x1, lineclip_y1, lineclip_x2, lineclip_y2);
}

// zv32_line on a given graphics record.
void styled_line(img_struct* im, float x1, float y1, float x2, float y2, uint32_t col, uint32_t style) {
    const img_graphics_state& g = im->graphics;
    clip_and_draw(im, map_x(g, x1), map_y(g, y1), map_x(g, x2), map_y(g, y2), col, (style & 0xFFFF) + (style << 16));
}

}  // namespace

uint32_t rotateLeft(uint32_t value, uint32_t count) { return std::rotl(value, static_cast<int>(count & 31)); }

void zv32_line(float x1, float y1, float x2, float y2, uint32_t col, uint32_t style) {
    styled_line(write_page(), x1, y1, x2, y2, col, style);
}

void fast_line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t col) {
    clip_and_draw(write_page(), x1, y1, x2, y2, col, 0xFFFFFFFF);
}

void sub_line(float x1, float y1, float x2, float y2, uint32_t col, int32_t box, uint32_t style, int32_t passed) {
    img_struct* im = graphics_write_page();
    if (!im) return;
    img_graphics_state& g = im->graphics;
    // The cursor moves to the first point, then to the second.
    float cx = g.x, cy = g.y;
    if (passed & 1) {
        step_from_cursor(passed & 4, g, x1, y1);
        cx = x1;
        cy = y1;
    } else {
        x1 = cx;
        y1 = cy;
    }
    if (passed & 2) {
        x2 += cx;
        y2 += cy;
    }
    g.x = x2;
    g.y = y2;
    if (!(passed & 8)) col = im->color;
    if (box == 0 || box == 1 || box == 2) im->draw_color = col;
    if (!(passed & 16)) style = 0xFFFF;
    switch (box) {
        case 0:
            styled_line(im, x1, y1, x2, y2, col, style);
            break;
        case 1:
            // Each edge starts the pattern afresh; corners in the order written.
            styled_line(im, x1, y1, x2, y1, col, style);
            styled_line(im, x2, y1, x2, y2, col, style);
            styled_line(im, x2, y2, x1, y2, col, style);
            styled_line(im, x1, y2, x1, y1, col, style);
            break;
        case 2:
            boxfill_on(im, x1, y1, x2, y2, col);
            break;
        default:
            break;
    }
}
