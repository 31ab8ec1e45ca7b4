// CLS: clearing the text region, the graphics viewport or the whole image of the
// write image, and the terminal of console programs. Program thread only.
#pragma once
#include <cstdint>

// CLS [method][, colour]; passed bit 1 method, bit 2 colour. Returns at once while
// an error is pending.
void sub_cls(int32_t method, uint32_t colour, int32_t passed);
// CLS with a destination image (passed bit 3, value 4): the write image is that
// image for the CLS and comes back afterwards.
void sub_clsDest(int32_t method, uint32_t colour, int32_t destination, int32_t passed);

// CLS without the pending-error test: CHR$(12), the printer page.
void cls_write_image(int32_t method, uint32_t colour, int32_t passed);
