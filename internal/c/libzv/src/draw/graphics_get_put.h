// Graphics GET and PUT: rectangles of the read image packed into a program array and
// drawn back onto the write image.
#pragma once
#include <cstdint>

// GET [STEP](x1, y1)-[STEP](x2, y2), array[, fill]; the array is its first byte and
// the bytes from there to its end. passed bit 1 STEP on the first corner, 2 STEP on
// the second, 4 a fill colour for positions outside the image.
void sub_graphics_get(float x1, float y1, float x2, float y2, void* data, int64_t bytes, uint32_t fill,
                      int32_t passed);
// PUT [STEP](x, y), array[, action][, clip][, key]; actions 1 PSET, 2 PRESET, 3 AND,
// 4 OR, 0 and 5 XOR. passed bit 1 STEP, bit 2 clipping allowed, any further bit a key.
void sub_graphics_put(float x, float y, const void* data, int64_t bytes, int32_t action, uint32_t key,
                      int32_t passed);
