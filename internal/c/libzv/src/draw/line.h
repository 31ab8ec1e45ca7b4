// LINE: plain and styled lines, boxes and filled boxes.
#pragma once
#include <cstdint>

// LINE [[STEP] (x1, y1)]-[STEP] (x2, y2)[, [colour][, [B|BF][, style]]]. passed bits:
// 1 first point given, 2 STEP before the second point, 4 STEP before the first,
// 8 colour, 16 style. box: 0 line, 1 B, 2 BF; any other value draws nothing.
void sub_line(float x1, float y1, float x2, float y2, uint32_t col, int32_t box, uint32_t style, int32_t passed);

// One styled line on the write image: mapped, clipped to the VIEW rectangle, and
// drawn with the 16-bit pattern (bit 15 first) continuing over a clipped-off start.
void zv32_line(float x1, float y1, float x2, float y2, uint32_t col, uint32_t style);

// One solid line in pixel coordinates, clipped to the write image's VIEW rectangle.
void fast_line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t col);

// Rotates left by count mod 32 bits.
uint32_t rotateLeft(uint32_t value, uint32_t count);
