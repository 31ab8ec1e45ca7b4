// PAINT: flood fills of a 4-connected region with a colour or a tile pattern.
#pragma once
#include <cstddef>
#include <cstdint>

#include "string/zvs.h"

// PAINT [STEP] (x, y)[, colour][, border] with a numeric colour. passed bits: 1 STEP,
// 2 colour, 4 border, 8 a background string (an error in this form).
void sub_paint(float x, float y, uint32_t col, uint32_t border, zvs* background, int32_t passed);
// PAINT [STEP] (x, y), tile$[, border][, background$]. passed bits: 1 STEP, 2 tile,
// 4 border, 8 background (accepted, not used).
void sub_paint(float x, float y, zvs* tile, uint32_t border, zvs* background, int32_t passed);
// The 32-bit engines: blended (sub_paint32) and stored as given (sub_paint32x).
void sub_paint32(float x, float y, uint32_t col, uint32_t border, int32_t passed);
void sub_paint32x(float x, float y, uint32_t col, uint32_t border, int32_t passed);

// Tile readers: the tile's size in pixels, and the colour of tile pixel (x, row).
void getptsize_1bpp(zvs* tile, int32_t* width, int32_t* height);
void getptsize_2bpp(zvs* tile, int32_t* width, int32_t* height);
void getptsize_4bpp(zvs* tile, int32_t* width, int32_t* height);
void getptsize_8bpp(zvs* tile, int32_t* width, int32_t* height);
uint32_t getptcol_1bpp(zvs* tile, int32_t x, int32_t row);
uint32_t getptcol_2bpp(zvs* tile, int32_t x, int32_t row);
uint32_t getptcol_4bpp(zvs* tile, int32_t x, int32_t row);
uint32_t getptcol_8bpp(zvs* tile, int32_t x, int32_t row);

// Frees the engines' storage; later fills start their fronts with the given capacity.
void paint_reset_for_tests(size_t initial_front_capacity = 65536);
// True when every engine's visited map is all zero (fills clear it before returning).
bool paint_visited_clear_for_tests();
