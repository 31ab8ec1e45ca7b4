// _MAPTRIANGLE: a triangle of a source image mapped onto a destination. Software
// sources are rasterised at once; hardware sources queue a command for the renderer.
#pragma once
#include <cstdint>

// _MAPTRIANGLE [_CLOCKWISE|_ANTICLOCKWISE] [_SEAMLESS] (sx1, sy1)-(sx2, sy2)-(sx3, sy3),
//   source TO (dx1, dy1[, dz1])-(dx2, dy2[, dz2])-(dx3, dy3[, dz3])[, destination][, smooth]
// cull 1 or 2 selects the culling order of 3D hardware triangles; smooth goes to the
// renderer unchanged. passed bits: 1 seamless, 2 source given, 4 / 8 / 16 the first,
// second, third depth given, 32 destination given. Plain pixel coordinates: no
// WINDOW, VIEW offset or VIEW clipping.
void sub__maptriangle(int32_t cull, float sx1, float sy1, float sx2, float sy2, float sx3, float sy3, int32_t source,
                      float dx1, float dy1, float dz1, float dx2, float dy2, float dz2, float dx3, float dy3,
                      float dz3, int32_t destination, int32_t smooth, int32_t passed);
