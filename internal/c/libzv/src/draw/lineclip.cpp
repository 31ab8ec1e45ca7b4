// lineclip: the line clipper of LINE, CIRCLE and DRAW.
#include "draw/lineclip.h"

#include <cmath>
#include <cstdlib>

#include "draw/rounding.h"

int32_t lineclip_draw;
int32_t lineclip_x1, lineclip_y1, lineclip_x2, lineclip_y2;
int32_t lineclip_skippixels;

namespace {

struct box {
    int32_t left, top, right, bottom;
    bool contains(int32_t x, int32_t y) const { return x >= left && x <= right && y >= top && y <= bottom; }
};

int32_t to_pixel(double v) { return round_float_to_int32(static_cast<float>(v)); }

// Moves the end point (x, y) of the line from (ox, oy) onto the first edge it
// crosses, tried right, left, top, bottom. False when it crosses none inside the box.
bool clip_end(int32_t& x, int32_t& y, int32_t ox, int32_t oy, const box& b) {
    // Slopes in double from the int32 inputs; a zero divisor gives an infinity that
    // the edge tests below never multiply by zero.
    double dx = static_cast<double>(ox) - x;
    double dy = static_cast<double>(oy) - y;
    double mx = dx / std::fabs(dy);
    double my = dy / std::fabs(dx);
    if (x > b.right && mx < 0) {
        double ny = y + (static_cast<double>(x) - b.right) * my;
        if (ny >= b.top && ny <= b.bottom) {
            x = b.right;
            y = to_pixel(ny);
            return true;
        }
    }
    if (x < b.left && mx > 0) {
        double ny = y + (static_cast<double>(b.left) - x) * my;
        if (ny >= b.top && ny <= b.bottom) {
            x = b.left;
            y = to_pixel(ny);
            return true;
        }
    }
    if (y < b.top && my > 0) {
        double nx = x + (static_cast<double>(b.top) - y) * mx;
        if (nx >= b.left && nx <= b.right) {
            x = to_pixel(nx);
            y = b.top;
            return true;
        }
    }
    if (y > b.bottom && my < 0) {
        double nx = x + (static_cast<double>(y) - b.bottom) * mx;
        if (nx >= b.left && nx <= b.right) {
            x = to_pixel(nx);
            y = b.bottom;
            return true;
        }
    }
    return false;
}

}  // namespace

void lineclip(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t left, int32_t top, int32_t right,
              int32_t bottom) {
    const box b{left, top, right, bottom};
    lineclip_skippixels = 0;
    lineclip_draw = 0;
    if (!b.contains(x1, y1)) {
        if (x1 == x2 && y1 == y2) return;
        if ((x1 < left && x2 < left) || (x1 > right && x2 > right) || (y1 < top && y2 < top) ||
            (y1 > bottom && y2 > bottom))
            return;
        int32_t old_x = x1, old_y = y1;
        if (!clip_end(x1, y1, x2, y2, b)) return;
        // In 64 bits: the cut part can be longer than int32 holds; the low 4 bits matter.
        int64_t skip_x = std::llabs(static_cast<int64_t>(old_x) - x1);
        int64_t skip_y = std::llabs(static_cast<int64_t>(old_y) - y1);
        lineclip_skippixels = static_cast<int32_t>(skip_x >= skip_y ? skip_x : skip_y);
    }
    if (!b.contains(x2, y2) && !clip_end(x2, y2, x1, y1, b)) return;
    lineclip_draw = 1;
    lineclip_x1 = x1;
    lineclip_y1 = y1;
    lineclip_x2 = x2;
    lineclip_y2 = y2;
}
