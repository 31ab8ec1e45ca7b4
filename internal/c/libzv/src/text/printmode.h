// _PRINTMODE: how text drawing treats the background of glyphs. Program thread only.
#pragma once
#include <cstdint>

// _PRINTMODE option[, handle]: 1 fill background, 2 keep background, 3 only
// background; passed bit 1 handle. Returns at once while an error is pending.
void sub__printmode(int32_t option, int32_t handle, int32_t passed);
// _PRINTMODE[(handle)]: the image's print mode (1 keep, 2 only background, 3 fill);
// 0 while an error is pending.
int32_t func__printmode(int32_t handle, int32_t passed);
