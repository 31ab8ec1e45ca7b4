// _FONTWIDTH, _FONTHEIGHT and the _FONT function.
#pragma once
#include <cstdint>

// _FONTWIDTH[(font)] and _FONTHEIGHT[(font)]: without the argument, the write
// image's font; a given font must be 8, 14, 16 or a loaded font (else error 258, 0).
int32_t func__fontwidth(int32_t font_number, int32_t passed);
int32_t func__fontheight(int32_t font_number, int32_t passed);
// _FONT[(handle)]: the font number of the write image or of the given page or image.
int32_t func__font(int32_t handle, int32_t passed);
