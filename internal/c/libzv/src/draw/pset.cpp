// pset: palette stores, plain 32-bit stores and blended 32-bit stores.
#include "draw/pset.h"

#include <cassert>
#include <cstring>

#include "draw/blend.h"
#include "image/image_table.h"

void pset_on(img_struct* im, int32_t x, int32_t y, uint32_t col) {
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

void pset(int32_t x, int32_t y, uint32_t col) { pset_on(write_page(), x, y, col); }
