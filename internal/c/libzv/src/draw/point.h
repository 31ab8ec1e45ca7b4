// PSET, PRESET and POINT, and the two pixel primitives shared by other drawing code.
#pragma once
#include <cstdint>

// PSET [STEP] (x, y)[, colour]; passed bit 1 STEP, bit 2 colour given.
void sub_pset(float x, float y, uint32_t col, int32_t passed);
// PRESET: as PSET, an omitted colour meaning the background colour.
void sub_preset(float x, float y, uint32_t col, int32_t passed);
// POINT(x, y) when passed is non-zero; POINT(n) with n in x when passed is 0.
double func_point(float x, float y, int32_t passed);

// Writes pixel (x, y) of the write image with the pixel rule when it lies inside the
// VIEW rectangle; otherwise does nothing.
void pset_and_clip(int32_t x, int32_t y, uint32_t col);
// The read image's pixel at (x, y), masked on palette images. Unchecked: callers
// keep (x, y) inside the image.
uint32_t point(int32_t x, int32_t y);
