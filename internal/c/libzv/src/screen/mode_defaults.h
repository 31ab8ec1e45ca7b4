// Putting records back to their mode's defaults: imgrevert and defaultcolors.
#pragma once
#include <cstdint>

#include "image/img_struct.h"

// Resets the record at index to its mode's defaults in place and clears its buffer
// (text cells to 0x0720). Keeps view_x1, view_y1, the VIEW offsets, the coordinate
// mode, window_x1, window_y1 and the scaling offsets.
void imgrevert(int32_t index);

// The write image's colour and background to its mode's defaults; draw colour =
// colour.
void defaultcolors();

// VIEW PRINT back to the whole page (top_row 1, bottom_row rows - 1 but at least 1);
// a cursor row beyond the page's rows becomes 1.
void reset_view_print(img_struct* im);
