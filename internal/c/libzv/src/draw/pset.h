// The pixel rule: how one colour lands on one pixel of the write image.
#pragma once
#include <cassert>
#include <cstdint>
#include <cstring>

#include "draw/blend.h"
#include "image/image_table.h"
#include "image/img_struct.h"

// Writes pixel (x, y) of a graphics record: palette images store the colour masked
// to their depth, 32-bit images blend by the colour's alpha unless blending is off.
// No clipping: 0 <= x < width and 0 <= y < height. Never used on text images.
// Inline: PSET and the per-pixel drawing loops call it once per pixel.
inline void pset_on(img_struct* im, int32_t x, int32_t y, uint32_t col) {
    assert(x >= 0 && x < im->width && y >= 0 && y < im->height && !im->text);
    int64_t at = static_cast<int64_t>(y) * im->width + x;
    if (im->bytes_per_pixel == 1) {
        im->pixels[at] = static_cast<uint8_t>(col & im->pixel_mask);
        return;
    }
    uint8_t* p = im->pixels + at * 4;
    if (!im->blend_off) {
        uint32_t old;
        memcpy(&old, p, 4);
        col = blend_pixel(old, col);
    }
    memcpy(p, &col, 4);
}

// The same on the write image.
inline void pset(int32_t x, int32_t y, uint32_t col) { pset_on(write_page(), x, y, col); }
