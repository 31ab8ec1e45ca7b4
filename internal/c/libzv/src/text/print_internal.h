// Routines the PRINT family shares without the pending-error test of its statements.
#pragma once
#include <cstdint>

#include "draw/rounding.h"
#include "image/img_struct.h"
#include "string/zvs.h"

// The PRINT core itself (zvs_print without the pending-error test).
void print_core(zvs* text, int32_t finish_line);
// _PRINTWIDTH of a text on an image: its length on text images, font width x length
// for fixed-width fonts, the font back end's width for proportional ones.
int32_t printwidth_of(const img_struct* im, zvs* text);

// The anti-aliased glyph routes of printchr and _PRINTSTRING: a colour with another
// alpha, and mode 3's ink and background mixed by the coverage v.
inline uint32_t with_alpha(uint32_t colour, uint32_t alpha) { return (colour & 0xFFFFFF) | alpha << 24; }
inline uint32_t mix(uint32_t c, uint32_t b, uint8_t v) {
    float t = static_cast<float>(255 - v) / 255.0f;
    float ac = static_cast<float>(c >> 24), ab = static_cast<float>(b >> 24);
    float alpha = ac + (ab - ac) * t;
    float k = c >> 24 ? ab / ac : 100000.0f;
    float u = k * t;
    if (u > 1.0f) u = 1.0f;
    auto channel = [&](int shift) {
        float from = static_cast<float>(c >> shift & 255), to = static_cast<float>(b >> shift & 255);
        return static_cast<uint32_t>(round_float_to_int32(from + (to - from) * u)) & 255;
    };
    return (static_cast<uint32_t>(round_float_to_int32(alpha)) & 255) << 24 | channel(16) << 16 | channel(8) << 8 |
           channel(0);
}
