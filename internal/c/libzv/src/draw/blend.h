// Alpha blending tables and the blend of one 32-bit colour onto a pixel.
#pragma once
#include <cstdint>

// cblend[alpha * 65536 + new * 256 + old]: the blended channel.
extern uint8_t cblend[256 * 256 * 256];
// ablend[a * 256 + b]: the alpha of a colour of alpha b laid over alpha a (symmetric).
extern uint8_t ablend[256 * 256];
// Rows 127 and 128 of ablend.
extern const uint8_t* const ablend127;
extern const uint8_t* const ablend128;

// Builds the tables once (program thread); later calls do nothing.
void init_blend();
// Empty tables, not built yet.
void blend_reset_for_tests();

// The colour laid over the pixel by the colour's alpha: 255 replaces, 0 keeps, 127
// and 128 average the colour bytes, any other alpha goes through the tables.
inline uint32_t blend_pixel(uint32_t old, uint32_t col) {
    uint32_t a = col >> 24;
    if (a == 255) return col;
    if (a == 0) return old;
    if (a == 128 || a == 127) {
        const uint8_t* row = a == 128 ? ablend128 : ablend127;
        return static_cast<uint32_t>(row[old >> 24]) << 24 | (((old & 0xFEFEFE) + (col & 0xFEFEFE)) >> 1);
    }
    const uint8_t* c = cblend + (a << 16);
    uint32_t b = c[(col & 0xFF) << 8 | (old & 0xFF)];
    uint32_t g = c[(col & 0xFF00) | (old >> 8 & 0xFF)];
    uint32_t r = c[(col >> 8 & 0xFF00) | (old >> 16 & 0xFF)];
    return static_cast<uint32_t>(ablend[(old >> 24) << 8 | a]) << 24 | r << 16 | g << 8 | b;
}
