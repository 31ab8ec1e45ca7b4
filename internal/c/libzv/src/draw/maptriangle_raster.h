// The software scanline rasteriser of _MAPTRIANGLE: 16.16 fixed point, nearest texel.
#pragma once
#include <cstdint>

#include "image/img_struct.h"

// One corner: destination pixel column and row, source u and v in 16.16 (texel
// centres at whole + 0x8000), already shifted into range when the triangle wraps.
struct maptriangle_vertex {
    int32_t x, y;
    int64_t u, v;
};

// Draws the triangle of source texels onto dst (same bytes per pixel, neither a text
// image). Seamless leaves out the last row and each row's right end pixel so that
// neighbouring triangles meet without overlap. wrap tiles the source; without it
// texel reads are clamped to the source. Coordinates are checked by the caller
// (-16383 .. 16383).
void maptriangle_raster(const img_struct* src, img_struct* dst, const maptriangle_vertex corners[3], bool seamless,
                        bool wrap);
