// _FONT: the font of an image, or of every page of a text screen. Program thread only.
#pragma once
#include <cstdint>

struct img_struct;

// _FONT font[, handle]; passed bit 1 handle. Returns at once while an error is pending.
void sub__font(int32_t font, int32_t handle, int32_t passed);
// The error _FONT gives for the font on the image (5 or 258), 0 when it takes it.
int32_t font_refusal(const img_struct* im, int32_t font);
