// Statements on an image's transparency: _BLEND, _DONTBLEND, _CLEARCOLOR, _SETALPHA.
#pragma once
#include <cstdint>

// _BLEND [handle] and _DONTBLEND [handle]; hardware images accepted.
void sub__blend(int32_t handle, int32_t passed);
void sub__dontblend(int32_t handle, int32_t passed);
// _CLEARCOLOR {colour | _NONE}[, handle]; passed bit 1 _NONE, 2 a colour, 4 a handle.
void sub__clearcolor(uint32_t colour, int32_t handle, int32_t passed);
// _SETALPHA alpha[, colour1 [TO colour2]][, handle]; passed bit 1 colour1, 4 colour2,
// 2 a handle.
void sub__setalpha(int32_t alpha, uint32_t colour1, uint32_t colour2, int32_t handle, int32_t passed);
