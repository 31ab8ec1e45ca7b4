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

// Draws a loaded font's rendered bitmap of w x rows pixels at left, top: a monochrome
// bitmap by the print mode's rule (put_by_mode), coverage by blending the foreground
// (mode 1), the background (mode 2) or both (mode 3) with put.
template <class Coordinate, class PutByMode, class Put>
void draw_font_bitmap(const img_struct* im, const uint8_t* bitmap, int32_t w, int32_t rows, bool monochrome,
                      Coordinate left, Coordinate top, PutByMode put_by_mode, Put put) {
    uint32_t c = im->color, b = im->background_color;
    uint32_t ca = (c >> 24) + 1, ba = (b >> 24) + 1;
    for (int32_t r = 0; r < rows; r++) {
        for (int32_t col = 0; col < w; col++) {
            uint8_t v = bitmap[static_cast<int64_t>(r) * w + col];
            Coordinate x = left + col, y = top + r;
            if (monochrome) {
                put_by_mode(x, y, v != 0);
            } else if (im->print_mode == 1) {
                if (v) put(x, y, with_alpha(c, (v * ca) >> 8));
            } else if (im->print_mode == 2) {
                if (v < 255) put(x, y, with_alpha(b, ((255 - v) * ba) >> 8));
            } else if (im->print_mode == 3) {
                put(x, y, mix(c, b, v));
            }
        }
    }
}
