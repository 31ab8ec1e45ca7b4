// Box fills: LINE ... BF and VIEW's fill (zv32_boxfill), and the fill engine that
// CLS, the KEY line and text output also use (fast_boxfill).
#pragma once
#include <cstdint>

#include "image/img_struct.h"

// Maps both corners, orders them, clips to the VIEW rectangle and fills.
void zv32_boxfill(float x1, float y1, float x2, float y2, uint32_t col);

// Fills pixels x1..x2 by y1..y2 of the write image with the pixel rule. The caller
// guarantees x1 <= x2, y1 <= y2, a rectangle inside the image and a graphics image.
void fast_boxfill(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t col);

// The same two on a given graphics record (LINE looks the write image up once).
void boxfill_on(img_struct* im, float x1, float y1, float x2, float y2, uint32_t col);
void fast_boxfill_on(img_struct* im, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t col);
