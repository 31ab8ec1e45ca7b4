// The pixel rule: how one colour lands on one pixel of the write image.
#pragma once
#include <cstdint>

#include "image/img_struct.h"

// Writes pixel (x, y) of the write image: palette images store the colour masked to
// their depth, 32-bit images blend by the colour's alpha unless blending is off.
// No clipping: 0 <= x < width and 0 <= y < height. Never used on text images.
void pset(int32_t x, int32_t y, uint32_t col);

// The same rule on a given graphics record.
void pset_on(img_struct* im, int32_t x, int32_t y, uint32_t col);
