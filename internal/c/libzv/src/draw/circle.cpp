// CIRCLE: the quadrant walk mirrored into four quadrants, with optional radius lines.
#include "draw/circle.h"

#include <cmath>
#include <utility>

#include "draw/coordinates.h"
#include "draw/graphics_open.h"
#include "draw/line.h"
#include "draw/point.h"
#include "error/error.h"
#include "image/image_table.h"

namespace {

constexpr double pi = 3.141592653589793;
constexpr double two_pi = 6.283185307179586;

bool fits_int32(int64_t v) { return v >= INT32_MIN && v <= INT32_MAX; }

// Writes a point only when it is a pixel coordinate at all; the VIEW clips the rest.
void put(int64_t x, int64_t y, uint32_t col) {
    if (fits_int32(x) && fits_int32(y)) pset_and_clip(static_cast<int32_t>(x), static_cast<int32_t>(y), col);
}

// The radius line from the centre towards angle a, ending one pixel short of the arc
// in the upper half as the legacy statement does.
void radius_line(int64_t cx, int64_t cy, double a, double rx, double ry, uint32_t col) {
    int64_t ex = cx + static_cast<int64_t>(std::trunc(std::cos(a) * rx + 0.5));
    int64_t ey = cy - static_cast<int64_t>(std::trunc(std::sin(a) * ry - 0.5));
    if (fits_int32(ex) && fits_int32(ey))
        fast_line(static_cast<int32_t>(cx), static_cast<int32_t>(cy), static_cast<int32_t>(ex),
                  static_cast<int32_t>(ey), col);
}

struct arc_filter {
    double start, end;
    bool inverted;
    bool pass(double a) const { return inverted ? a <= start || a >= end : a >= start && a <= end; }
};

}  // namespace

double legacy_mode_aspect(uint16_t legacy_mode) {
    switch (legacy_mode) {
        case 1:
        case 7:
        case 13:
            return 0.8333333333333334;
        case 2:
        case 8:
            return 0.4166666666666667;
        case 9:
        case 10:
            return 0.7291666666666666;
        default:
            return 1;
    }
}

namespace {

// A circle or arc on the pixel grid, as the arguments and the coordinate settings
// give it.
struct circle_shape {
    int64_t cx, cy;     // centre, rounded
    double rx, ry;      // radii after the aspect
    int64_t steps;      // of the quadrant walk
    arc_filter arc;     // angles kept
    bool start_line, end_line;
    uint32_t col;
};

// Checks the angles, applies STEP and moves the cursor, maps centre and radius and
// records the colour. False when nothing is to be drawn (errors raised here).
bool plan_circle(img_struct* im, double x, double y, double radius, uint32_t col, double start, double end,
                 double aspect, int32_t passed, circle_shape& c) {
    if (!(passed & 4)) start = 0;
    if (!(passed & 8)) end = two_pi;
    bool start_line = start < 0, end_line = end < 0;
    if (start_line) start = -start;
    if (end_line) end = -end;
    if (start > two_pi || end > two_pi) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return false;
    }
    bool inverted = false;
    if (start > end) {
        std::swap(start, end);
        std::swap(start_line, end_line);
        inverted = true;
    }
    img_graphics_state& g = im->graphics;
    step_from_cursor(passed & 1, g, x, y);
    g.x = static_cast<float>(x);
    g.y = static_cast<float>(y);

    double xr = x + radius;
    if (g.clipping_or_scaling == 2) {
        x = x * g.scaling_x + g.scaling_offset_x + map_origin_x(g);
        y = y * g.scaling_y + g.scaling_offset_y + map_origin_y(g);
        xr = xr * g.scaling_x + g.scaling_offset_x + map_origin_x(g);
    } else if (g.clipping_or_scaling == 1) {
        x += g.view_offset_x;
        y += g.view_offset_y;
        xr += g.view_offset_x;
    }
    double r = std::fabs(xr - x);
    // A centre or radius that is no number, or a centre off the int32 grid, draws
    // nothing; so does a radius whose step count does not fit 64 bits.
    double steps = std::trunc(two_pi * r / 4 + 0.5);
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(r) || !(steps < 9.0e18)) return false;
    if (!(x > -2147483648.5 && x < 2147483647.5 && y > -2147483648.5 && y < 2147483647.5)) return false;
    // The centre rounds halves away from zero.
    c.cx = static_cast<int64_t>(x < 0 ? std::trunc(x - 0.5) : std::trunc(x + 0.5));
    c.cy = static_cast<int64_t>(y < 0 ? std::trunc(y - 0.5) : std::trunc(y + 0.5));

    double rx = r, ry = r;
    double a = passed & 16 ? aspect : legacy_mode_aspect(im->legacy_mode);
    if (a >= 0) {
        if (a < 1) ry = a * ry;
        if (a > 1) rx = rx / a;
    } else if (a > -1) {
        ry = (1 + a) * ry;
    }
    if (g.view_x1 > x + rx + 0.5 || g.view_y1 > y + ry + 0.5 || x - rx - 0.5 > g.view_x2 ||
        y - ry - 0.5 > g.view_y2)
        return false;
    if (!(passed & 2)) col = im->color;
    im->draw_color = col;
    c.rx = rx;
    c.ry = ry;
    c.steps = static_cast<int64_t>(steps);
    c.arc = {start, end, inverted};
    c.start_line = start_line;
    c.end_line = end_line;
    c.col = col;
    return true;
}

// The quadrant walk, mirrored into the four quadrants, and the radius lines.
void draw_circle(const circle_shape& shape) {
    const int64_t cx = shape.cx, cy = shape.cy, n = shape.steps;
    const double rx = shape.rx, ry = shape.ry;
    const uint32_t col = shape.col;
    const arc_filter& arc = shape.arc;
    double d = pi / 2 / static_cast<double>(n);  // infinite for n = 0, then never used
    double sd = std::sin(d), cd = std::cos(d);
    if (shape.start_line) radius_line(cx, cy, arc.start, rx, ry, col);

    double c = 1, s = 0;
    double a0 = 0, a1 = pi, a2 = pi, a3 = two_pi;
    int64_t held_x = 0, held_y = 0, last_x = 0, last_y = 0;
    // Each quadrant's point is kept by its own angle.
    auto draw = [&](int64_t px, int64_t py) {
        if (arc.pass(a0)) put(cx + px, cy + py, col);
        if (arc.pass(a1)) put(cx - px, cy + py, col);
        if (arc.pass(a2)) put(cx - px, cy - py, col);
        if (arc.pass(a3)) put(cx + px, cy - py, col);
    };
    for (int64_t k = 0;; k++) {
        int64_t px = static_cast<int64_t>(std::trunc(c * rx + 0.5));
        int64_t py = static_cast<int64_t>(std::trunc(s * ry - 0.5));
        if (k == 0) {
            draw(px, py);
            last_x = px;
            last_y = py;
        } else if (std::llabs(px - last_x) >= 2 || std::llabs(py - last_y) >= 2) {
            // The held point is drawn only once the curve has moved on, so that
            // neighbouring points do not thicken it.
            draw(held_x, held_y);
            last_x = held_x;
            last_y = held_y;
        }
        held_x = px;
        held_y = py;
        if (k + 1 > n) {
            draw(held_x, held_y);
            break;
        }
        double nc = c * cd + s * sd;
        s = s * cd - c * sd;
        c = nc;
        a0 += d;
        a1 -= d;
        a2 += d;
        a3 -= d;
    }
    if (shape.end_line) radius_line(cx, cy, arc.end, rx, ry, col);
}

}  // namespace

void sub_circle(double x, double y, double radius, uint32_t col, double start, double end, double aspect,
                int32_t passed) {
    img_struct* im = graphics_write_page();
    if (!im) return;
    circle_shape shape;
    if (plan_circle(im, x, y, radius, col, start, end, aspect, passed, shape)) draw_circle(shape);
}
