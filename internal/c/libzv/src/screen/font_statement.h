// _FONT: the font of an image, or of every page of a text screen. Program thread only.
#pragma once
#include <cstdint>

// _FONT font[, handle]; passed bit 1 handle. Returns at once while an error is pending.
void sub__font(int32_t font, int32_t handle, int32_t passed);
