// The default palettes, the per-mode reset and the 6-bit DAC scaling.
#include <gtest/gtest.h>

#include <cstdlib>

#include "image/image_modes.h"
#include "palette/palette.h"

TEST(PaletteTables, Vga256AnchorsGreysAndColourRings) {
    palette_global_init();
    const uint32_t cga[16] = {0x000000, 0x0000AA, 0x00AA00, 0x00AAAA, 0xAA0000, 0xAA00AA, 0xAA5500, 0xAAAAAA,
                              0x555555, 0x5555FF, 0x55FF55, 0x55FFFF, 0xFF5555, 0xFF55FF, 0xFFFF55, 0xFFFFFF};
    for (int i = 0; i < 16; i++) EXPECT_EQ(palette_256[i], 0xFF000000 | cga[i]) << i;
    const std::pair<int, uint32_t> spots[] = {
        {16, 0xFF000000}, {17, 0xFF141414}, {18, 0xFF202020}, {30, 0xFFE3E3E3}, {31, 0xFFFFFFFF},
        // First ring: blue, magenta, red, yellow, green, cyan and back towards blue.
        {32, 0xFF0000FF}, {33, 0xFF4100FF}, {36, 0xFFFF00FF}, {40, 0xFFFF0000}, {44, 0xFFFFFF00},
        {48, 0xFF00FF00}, {52, 0xFF00FFFF}, {55, 0xFF0041FF},
        {56, 0xFF7D7DFF}, {104, 0xFF000071}, {247, 0xFF2D3141},
    };
    for (auto [i, v] : spots) EXPECT_EQ(palette_256[i], v) << i;
    for (int i = 248; i < 256; i++) EXPECT_EQ(palette_256[i], 0xFF000000u) << i;
}

TEST(PaletteTables, Ega64AndMode10PseudoColours) {
    palette_global_init();
    const std::pair<int, uint32_t> spots[] = {{0, 0xFF000000}, {6, 0xFFAAAA00}, {20, 0xFFAA5500},
                                              {56, 0xFF555555}, {57, 0xFF5555FF}, {63, 0xFFFFFFFF}};
    for (auto [i, v] : spots) EXPECT_EQ(palette_64[i], v) << i;
    const uint32_t phase0[9] = {0, 0, 0, 0x808080, 0x808080, 0x808080, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
    const uint32_t phase1[9] = {0, 0x808080, 0xFFFFFF, 0, 0x808080, 0xFFFFFF, 0, 0x808080, 0xFFFFFF};
    for (int c = 0; c < 9; c++) {
        EXPECT_EQ(pal_mode10[0][c], phase0[c]) << c;
        EXPECT_EQ(pal_mode10[1][c], phase1[c]) << c;
    }
}

TEST(PaletteTables, RestoreResetsOnlyTheEntriesOfTheMode) {
    palette_global_init();
    uint32_t pal[256];
    for (auto& e : pal) e = 0x12345678;
    img_struct im{};
    im.palette = pal;
    im.bytes_per_pixel = 1;
    im.legacy_mode = 12;
    restorepalette(&im);
    EXPECT_EQ(pal[15], palette_256[15]);
    EXPECT_EQ(pal[16], 0x12345678u);
    im.legacy_mode = 1;
    restorepalette(&im);
    EXPECT_EQ(pal[3], palette_256[7]);
    EXPECT_EQ(pal[4], palette_256[4]);  // left from the mode 12 reset
    im.bytes_per_pixel = 4;
    im.legacy_mode = 32;
    pal[0] = 1;
    restorepalette(&im);
    EXPECT_EQ(pal[0], 1u);
}

TEST(PaletteTables, DacScalingRoundTripsEverySixBitValue) {
    const std::pair<uint32_t, int32_t> spots[] = {{0, 0}, {1, 4}, {11, 44}, {16, 65}, {32, 130}, {48, 195}, {63, 255}};
    for (auto [v, b] : spots) EXPECT_EQ(palette_dac_to_channel(v), b) << v;
    for (uint32_t v = 0; v < 64; v++) {
        int32_t b = palette_dac_to_channel(v);
        EXPECT_EQ(b >> 2, static_cast<int32_t>(v));
        EXPECT_EQ(palette_channel_to_dac(static_cast<uint32_t>(b)), static_cast<int32_t>(v));
    }
    EXPECT_EQ(palette_dac_to_channel(0x7F), 255);  // only the low 6 bits count
}
