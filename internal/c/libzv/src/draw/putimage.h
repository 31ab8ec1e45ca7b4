// _PUTIMAGE: rectangle copies between images, same size or stretched, and hardware puts.
#pragma once
#include <cstdint>

// _PUTIMAGE [[STEP](x1, y1)[-[STEP](x2, y2)]][, source][, destination]
//           [, [STEP](sx1, sy1)[-[STEP](sx2, sy2)]][, _SMOOTH]
// passed bits: 1 destination first corner, 2 STEP on it, 4 destination second corner,
// 16 STEP on it, 8 source handle, 32 destination handle, 64 source first corner,
// 256 STEP on it, 512 source second corner, 1024 STEP on it, 128 _SMOOTH.
void sub__putimage(double x1, double y1, double x2, double y2, int32_t source, int32_t destination, double sx1,
                   double sy1, double sx2, double sy2, int32_t passed);
