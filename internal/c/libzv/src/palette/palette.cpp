// Default palettes (VGA 256, EGA 64, SCREEN 10 pseudo-colours) and restorepalette.
#include "palette/palette.h"

#include <cmath>

uint32_t palette_256[256];
uint32_t palette_64[64];
uint32_t pal_mode10[2][9];

namespace {

constexpr uint32_t dac_channel(int v6) { return static_cast<uint32_t>((v6 * 255 + 31) / 63); }
constexpr uint32_t dac_rgb(int r, int g, int b) { return dac_channel(r) << 16 | dac_channel(g) << 8 | dac_channel(b); }

// The 16 CGA/EGA colours.
constexpr uint32_t cga_colors[16] = {0x000000, 0x0000AA, 0x00AA00, 0x00AAAA, 0xAA0000, 0xAA00AA, 0xAA5500, 0xAAAAAA,
                                     0x555555, 0x5555FF, 0x55FF55, 0x55FFFF, 0xFF5555, 0xFF55FF, 0xFFFF55, 0xFFFFFF};
constexpr int vga_greys[16] = {0, 5, 8, 11, 14, 17, 20, 24, 28, 32, 36, 40, 45, 50, 56, 63};
// Nine rings of 24 hues, each on five DAC levels.
constexpr int vga_ring_levels[9][5] = {{0, 16, 31, 47, 63},  {31, 39, 47, 55, 63}, {45, 49, 54, 58, 63},
                                       {0, 7, 14, 21, 28},   {14, 17, 21, 24, 28}, {20, 22, 24, 26, 28},
                                       {0, 4, 8, 12, 16},    {8, 10, 12, 14, 16},  {11, 12, 13, 15, 16}};

// One ring: from (L0, L0, L4) red rises, blue falls, green rises, red falls, blue
// rises, green falls back to L1.
void fill_ring(uint32_t* out, const int* level) {
    int r = 0, g = 0, b = 4;  // level numbers
    for (int i = 0; i < 24; i++) {
        int step = i == 0 ? 0 : (i - 1) / 4;  // which channel moves at entry i
        if (i > 0) {
            switch (step) {
                case 0: r++; break;
                case 1: b--; break;
                case 2: g++; break;
                case 3: r--; break;
                case 4: b++; break;
                default: g--; break;
            }
        }
        out[i] = dac_rgb(level[r], level[g], level[b]);
    }
}

// SCREEN 10 levels: off, grey, bright.
constexpr uint32_t mode10_levels[3] = {0x000000, 0x808080, 0xFFFFFF};

}  // namespace

void palette_global_init() {
    for (int i = 0; i < 16; i++) palette_256[i] = cga_colors[i];
    for (int i = 0; i < 16; i++) palette_256[16 + i] = dac_rgb(vga_greys[i], vga_greys[i], vga_greys[i]);
    for (int ring = 0; ring < 9; ring++) fill_ring(&palette_256[32 + ring * 24], vga_ring_levels[ring]);
    for (int i = 248; i < 256; i++) palette_256[i] = 0;
    for (auto& e : palette_256) e |= 0xFF000000;

    for (uint32_t i = 0; i < 64; i++) {
        uint32_t c = 0;
        if (i & 1) c += 0x0000AA;
        if (i & 2) c += 0x00AA00;
        if (i & 4) c += 0xAA0000;
        if (i & 8) c += 0x000055;
        if (i & 16) c += 0x005500;
        if (i & 32) c += 0x550000;
        palette_64[i] = c | 0xFF000000;
    }

    for (int c = 0; c < 9; c++) {
        pal_mode10[0][c] = mode10_levels[c / 3];
        pal_mode10[1][c] = mode10_levels[c % 3];
    }
}

void restorepalette(img_struct* im) {
    uint32_t* pal = im->palette;
    if (im->bytes_per_pixel == 4 || !pal) return;
    switch (im->legacy_mode) {
        case 1: {
            static constexpr int entries[4] = {0, 3, 5, 7};
            for (int i = 0; i < 4; i++) palette_set(pal, i, palette_256[entries[i]]);
            break;
        }
        case 2:
        case 11:
            palette_set(pal, 0, 0x000000);
            palette_set(pal, 1, 0xFFFFFF);
            break;
        case 9: {
            static constexpr int ega[16] = {0, 1, 2, 3, 4, 5, 20, 7, 56, 57, 58, 59, 60, 61, 62, 63};
            for (int i = 0; i < 16; i++) palette_set(pal, i, palette_64[ega[i]]);
            break;
        }
        case 10:
            palette_set(pal, 4, 0);
            palette_set(pal, 5, 4);
            palette_set(pal, 6, 6);
            palette_set(pal, 7, 8);
            break;
        case 13:
        case 256:
            for (int i = 0; i < 256; i++) palette_set(pal, i, palette_256[i]);
            break;
        default:  // 0, 7, 8, 12
            for (int i = 0; i < 16; i++) palette_set(pal, i, palette_256[i]);
            break;
    }
}

int32_t palette_dac_to_channel(uint32_t v6) {
    return static_cast<int32_t>(std::lrint(static_cast<double>(v6 & 63) * 4.0634918212890625 - 0.49999991059303284));
}

int32_t palette_channel_to_dac(uint32_t v8) {
    return static_cast<int32_t>(std::lrint(static_cast<double>(v8 & 255) / 3.984376 - 0.49999991059303284));
}
