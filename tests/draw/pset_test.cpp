// The pixel rule: palette stores masked to the depth, 32-bit stores blended by alpha
// through the blend tables, and plain stores after _DONTBLEND.
#include "draw/blend.h"
#include "draw/pset.h"
#include "image/alpha_statements.h"
#include "image/image_fixture.h"
#include "image/image_statements.h"

using Pset = ImageTest;

TEST_F(Pset, BlendTablesSpotValuesAndIdentities) {
    init_blend();
    EXPECT_EQ(cblend[100 * 65536 + 200 * 256 + 50], 109);
    EXPECT_EQ(cblend[64 * 65536 + 255 * 256 + 0], 64);
    EXPECT_EQ(cblend[254 * 65536 + 0 * 256 + 255], 1);
    EXPECT_EQ(ablend[100 * 256 + 100], 161);
    EXPECT_EQ(ablend[128 * 256 + 128], 192);
    EXPECT_EQ(ablend[128 * 256 + 0], 128);
    EXPECT_EQ(ablend127, ablend + 127 * 256);
    EXPECT_EQ(ablend128, ablend + 128 * 256);
    for (int n = 0; n < 256; n++) {
        for (int o = 0; o < 256; o++) {
            ASSERT_EQ(cblend[0 * 65536 + n * 256 + o], o);
            ASSERT_EQ(cblend[255 * 65536 + n * 256 + o], n);
            ASSERT_EQ(ablend[n * 256 + o], ablend[o * 256 + n]);
        }
    }
}

TEST_F(Pset, BlendedWritesOn32BitImages) {
    screen(12);
    sub__dest(func__newimage(1, 1, 32, 1));
    img_struct* im = write_page();
    const struct {
        uint32_t pixel, colour, result;
    } cases[] = {
        {0xFF0000FF, 0x80FF0000, 0xFF7F007F},  // half way: bytes averaged, lowest bits dropped
        {0xFF0000FF, 0x7FFF0000, 0xFF7F007F},
        {0x12345678, 0x00FFFFFF, 0x12345678},  // alpha 0 keeps the pixel
        {0x00000000, 0xFFABCDEF, 0xFFABCDEF},  // alpha 255 replaces it
        {0x00123456, 0xFFABCDEF, 0xFFABCDEF},
        {0xFF000000, 0x40FFFFFF, 0xFF404040},
        {0x00000000, 0x80FFFFFF, 0x807F7F7F},  // ablend128[0] = 128
        {0x00000000, 0x7F000000, 0x7F000000},
        {0x80C83264, 0x64C8FF00, 0xB2C8823D},  // alpha 100: every byte through the tables
    };
    for (const auto& c : cases) {
        set_pixel32(im, 0, 0, c.pixel);
        pset(0, 0, c.colour);
        EXPECT_EQ(pixel32(im, 0, 0), c.result) << std::hex << c.pixel << " " << c.colour;
    }
    sub__dontblend(0, 0);
    set_pixel32(im, 0, 0, 0xFF0000FF);
    pset(0, 0, 0x00FF0000);
    EXPECT_EQ(pixel32(im, 0, 0), 0x00FF0000u);
}

TEST_F(Pset, PaletteImagesStoreTheColourMaskedToTheirDepth) {
    const struct {
        int32_t mode;
        uint32_t colour;
        uint8_t stored;
    } cases[] = {{256, 300, 44}, {12, 17, 1}, {2, 3, 1}, {1, 6, 2}, {13, 0xFFFFFF07, 7}};
    for (const auto& c : cases) {
        if (c.mode == 256) {
            screen(12);
            sub__dest(func__newimage(4, 4, 256, 1));
        } else {
            screen(c.mode);
            sub__dest(0);  // SCREEN 12 after SCREEN 12 changes nothing, _DEST included
        }
        pset(3, 2, c.colour);
        img_struct* im = write_page();
        EXPECT_EQ(im->pixels[2 * im->width + 3], c.stored) << c.mode;
        EXPECT_EQ(im->pixels[2 * im->width + 2], 0) << c.mode;
    }
    EXPECT_EQ(cmem[0xA0000 + 320 * 2 + 3], 7);  // SCREEN 13 lives in conventional memory
}
