// The set of non-zero pixels of a palette image, for tests that state which pixels a
// statement lights.
#pragma once
#include <cstdint>
#include <set>
#include <utility>

#include "image/img_struct.h"

using pixel_set = std::set<std::pair<int32_t, int32_t>>;

inline pixel_set lit_pixels(const img_struct* im) {
    pixel_set out;
    for (int32_t y = 0; y < im->height; y++)
        for (int32_t x = 0; x < im->width; x++)
            if (im->pixels[static_cast<size_t>(y) * im->width + x]) out.insert({x, y});
    return out;
}
