// _PRINTSTRING: text at a position without moving the text cursor. Program thread only.
#pragma once
#include <cstdint>

#include "string/zvs.h"

// _PRINTSTRING [STEP](x, y), text[, handle]; passed bit 1 STEP, bit 2 handle. On a
// text image x and y are the column and row; on a graphics image the pixel of the
// first glyph's top-left corner. Returns at once while an error is pending.
void sub__printstring(float x, float y, zvs* text, int32_t handle, int32_t passed);
