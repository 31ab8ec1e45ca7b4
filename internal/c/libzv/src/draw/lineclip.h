// lineclip: cuts a line of pixels to a rectangle. Program thread only; the results
// are process-wide and only meaningful right after a call.
#pragma once
#include <cstdint>

extern int32_t lineclip_draw;  // 1 something remains to draw, 0 nothing
extern int32_t lineclip_x1, lineclip_y1, lineclip_x2, lineclip_y2;  // in the order given
extern int32_t lineclip_skippixels;  // pixel steps cut from the start of the line

// Clips (x1, y1)-(x2, y2) to the inclusive rectangle left..right by top..bottom.
void lineclip(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t left, int32_t top, int32_t right,
              int32_t bottom);

// The same for hot paths: a line with both ends inside the rectangle (the usual case)
// is decided without the call.
inline void lineclip_inline(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t left, int32_t top, int32_t right,
                            int32_t bottom) {
    if (x1 >= left && x1 <= right && y1 >= top && y1 <= bottom && x2 >= left && x2 <= right && y2 >= top &&
        y2 <= bottom) {
        lineclip_skippixels = 0;
        lineclip_draw = 1;
        lineclip_x1 = x1;
        lineclip_y1 = y1;
        lineclip_x2 = x2;
        lineclip_y2 = y2;
        return;
    }
    lineclip(x1, y1, x2, y2, left, top, right, bottom);
}
