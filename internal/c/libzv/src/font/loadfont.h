// _LOADFONT and _FREEFONT.
#pragma once
#include <cstdint>

struct zvs;

// _LOADFONT(file, size[, options][, index]); passed bit 1 options, bit 2 index. The
// font number, or 0 when the font cannot be loaded (error 5 for a size below 1). The
// strings are only read.
int32_t func__loadfont(zvs* file, int32_t size, zvs* options, int32_t index, int32_t passed);
// The same on the bytes of the two string arguments.
int32_t func__loadfont_bytes(const uint8_t* file, int32_t file_length, int32_t size, const uint8_t* options,
                             int32_t options_length, int32_t index, int32_t passed);

// _FREEFONT font.
void sub__freefont(int32_t font_number);
