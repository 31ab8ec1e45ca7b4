// PRINT on graphics images: glyph pixels against the glyph tables, scrolling, the right edge, tiny images.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "text/text_fixture.h"

namespace {

using PrintGraphics = TextTest;

// Glyph n of a built-in font, row r, column c.
bool glyph_bit(int32_t font, int32_t n, int32_t r, int32_t c) {
    if (font == 8) return charset8x8[n * 64 + r * 8 + c];
    if (font == 14) return charset8x16[n * 128 + (r + 1) * 8 + c];
    return charset8x16[n * 128 + r * 8 + c];
}

uint32_t pixel(const img_struct* im, int32_t x, int32_t y) {
    if (im->bytes_per_pixel == 1) return im->pixels[y * im->width + x];
    uint32_t v;
    memcpy(&v, im->pixels + (int64_t(y) * im->width + x) * 4, 4);
    return v;
}

void fill(img_struct* im, uint32_t v) { fill_pixel_rows(im, 0, im->height - 1, v); }

struct raster_case {
    const char* name;
    int32_t mode;  // 32: a 640 x 480 32-bit image
    uint32_t ink, paper, old;
};

TEST_F(PrintGraphics, EveryCharacterInEveryPrintModeMatchesTheGlyphTables) {
    const raster_case cases[] = {
        {"SCREEN 13", 13, 4, 1, 9},
        {"SCREEN 9", 9, 4, 1, 9},
        {"SCREEN 12", 12, 4, 1, 9},
        {"32-bit", 32, 0xFFFF0000u, 0xFF0000FFu, 0xFF123456u},
    };
    for (const raster_case& k : cases) {
        if (k.mode == 32)
            set_write_page(imgnew(640, 480, 32));
        else
            screen(k.mode);
        img_struct* im = page();
        im->color = k.ink;
        im->background_color = k.paper;
        int32_t fh = text_font_height(im->font), columns = text_columns(im);
        for (uint8_t mode : {1, 2, 3}) {
            im->print_mode = mode;
            fill(im, k.old);
            for (int32_t n = 0; n < 256; n++) {
                at(n / columns + 1, n % columns + 1);
                printchr(n);
            }
            for (int32_t n = 0; n < 256; n++) {
                int32_t left = (n % columns) * 8, top = (n / columns) * fh;
                for (int32_t r = 0; r < fh; r++)
                    for (int32_t c = 0; c < 8; c++) {
                        bool set = glyph_bit(im->font, n, r, c);
                        uint32_t want = set ? (mode == 2 ? k.old : k.ink) : (mode == 1 ? k.old : k.paper);
                        ASSERT_EQ(pixel(im, left + c, top + r), want)
                            << k.name << " mode " << int(mode) << " code " << n << " row " << r << " column " << c;
                    }
            }
            // printchr does not move the cursor, and nothing beyond the 256 cells changed.
            EXPECT_EQ(x(), 255 % columns + 1);
            EXPECT_EQ(pixel(im, im->width - 1, im->height - 1), k.old) << k.name;
        }
    }
}

TEST_F(PrintGraphics, PrintAtALocatedPositionDrawsThereAndMovesOn) {
    for (int32_t mode : {12, 13}) {
        screen(mode);
        img_struct* im = page();
        im->color = 14;
        zvg_sub_locate(5, 10, 0, 0, 0, 3);
        item("Hi");
        int32_t fh = text_font_height(im->font);
        for (int32_t r = 0; r < fh; r++)
            for (int32_t c = 0; c < 8; c++) {
                ASSERT_EQ(pixel(im, 72 + c, 4 * fh + r), glyph_bit(im->font, 'H', r, c) ? 14u : 0u);
                ASSERT_EQ(pixel(im, 80 + c, 4 * fh + r), glyph_bit(im->font, 'i', r, c) ? 14u : 0u);
            }
        EXPECT_EQ(func_pos(0), 12);
        EXPECT_EQ(func_csrlin(), 5);
    }
}

TEST_F(PrintGraphics, TheRightEdgeHoldsOrWraps) {
    screen(13);  // 40 columns
    at(3, 1);
    item(std::string(40, 'x'));
    EXPECT_EQ(cursor_held(page()), 1);
    EXPECT_EQ(x(), 40);
    at(5, 1);
    print_line(std::string(41, 'x'));
    EXPECT_EQ(y(), 7);
    EXPECT_EQ(func_screen(6, 1, 0, 0), 'x');
    EXPECT_EQ(func_screen(6, 2, 0, 0), 32);
}

TEST_F(PrintGraphics, ScrollingMovesOnlyTheRegionsPixelRows) {
    screen(12);
    img_struct* im = page();
    for (int32_t y = 0; y < 480; y++)
        for (int32_t x = 0; x < 640; x++) im->pixels[y * 640 + x] = uint8_t((x + 3 * y) % 15 + 1);
    std::vector<uint8_t> before(im->pixels, im->pixels + 640 * 480);
    im->background_color = 2;
    zvg_sub_view_print(5, 10, 1);
    for (int i = 0; i < 10; i++) print_line("line " + std::to_string(i));
    EXPECT_EQ(memcmp(before.data(), im->pixels, 640 * 64), 0);
    EXPECT_EQ(memcmp(before.data() + 640 * 160, im->pixels + 640 * 160, 640 * 320), 0);
    for (int32_t y = 144; y < 160; y++)
        for (int32_t x = 0; x < 640; x++) ASSERT_EQ(im->pixels[y * 640 + x], 2) << x << "," << y;
    // The last line printed sits on row 9: its first glyph in ink on the background.
    for (int32_t r = 0; r < 16; r++)
        for (int32_t c = 0; c < 8; c++)
            ASSERT_EQ(im->pixels[(128 + r) * 640 + c], glyph_bit(16, 'l', r, c) ? 15 : 2);
}

TEST_F(PrintGraphics, AnImageSmallerThanOneCellGetsOnlyItsOwnPixels) {
    set_write_page(imgnew(4, 4, 32));
    img_struct* im = page();
    print_line("A");
    item("A");
    tab();
    item("B");
    print_line("");
    EXPECT_EQ(cursor_x(im), 1);
    EXPECT_EQ(cursor_y(im), 1);
    at(1, 1);
    item("A");
    for (int32_t y = 0; y < 4; y++)
        for (int32_t x = 0; x < 4; x++)
            EXPECT_EQ(pixel32(im, x, y), glyph_bit(16, 'A', y, x) ? 0xFFFFFFFFu : 0xFF000000u) << x << "," << y;
}

TEST_F(PrintGraphics, ScreenReadsCharactersBackByTheirGlyphs) {
    for (int32_t mode : {13, 9, 12}) {
        screen(mode);
        img_struct* im = page();
        int32_t columns = text_columns(im);
        for (int32_t n = 1; n <= 254; n++) {
            if (n == 32) continue;
            at(n / columns + 1, n % columns + 1);
            printchr(n);
            ASSERT_EQ(func_screen(n / columns + 1, n % columns + 1, 0, 0), n) << "mode " << mode;
            ASSERT_EQ(func_screen(n / columns + 1, n % columns + 1, 1, 1), 15) << "mode " << mode;
        }
    }
}

TEST_F(PrintGraphics, ScreenOfBlankUnknownAndOutsideCells) {
    screen(12);
    img_struct* im = page();
    EXPECT_EQ(func_screen(1, 1, 0, 0), 32);
    EXPECT_EQ(func_screen(1, 1, 1, 1), 1);
    EXPECT_EQ(func_screen(1, 1, 0, 1), 32);  // a flag of 0 asks for the character
    im->color = 4;
    print_line("A");
    EXPECT_EQ(func_screen(1, 1, 0, 0), 65);
    EXPECT_EQ(func_screen(1, 1, 1, 1), 4);
    // On a coloured background every pixel is ink: the full block.
    im->background_color = 1;
    print_line("A");
    EXPECT_EQ(func_screen(2, 1, 0, 0), 219);
    EXPECT_EQ(func_screen(2, 1, 1, 1), 1);
    // A shape that is no glyph.
    im->pixels[640 * 32] = 3;
    im->pixels[640 * 32 + 7 + 640 * 15] = 3;
    EXPECT_EQ(func_screen(3, 1, 0, 0), 32);
    EXPECT_EQ(func_screen(3, 1, 1, 1), 0);
    for (auto [r, c] : {std::pair{0, 1}, std::pair{31, 1}, std::pair{1, 0}, std::pair{1, 81}}) {
        EXPECT_EQ(func_screen(r, c, 0, 0), 0);
        EXPECT_EQ(take_error(), 5) << r << "," << c;
    }
    im->font = 17;
    EXPECT_EQ(func_screen(1, 1, 0, 0), 0);
    EXPECT_EQ(take_error(), 5);
}

TEST_F(PrintGraphics, ScreenOnTextPagesReadsTheCell) {
    screen(0);
    EXPECT_EQ(func_screen(1, 1, 1, 1), 7);
    EXPECT_EQ(func_screen(1, 1, 0, 0), 32);
    page()->color = 20;
    page()->background_color = 9;
    print_line("A");
    EXPECT_EQ(func_screen(1, 1, 0, 0), 65);
    EXPECT_EQ(func_screen(1, 1, 1, 1), 0x94);
    EXPECT_EQ(func_screen(26, 1, 0, 0), 0);
    EXPECT_EQ(take_error(), 5);
    EXPECT_EQ(func_screen(1, 81, 0, 0), 0);
    EXPECT_EQ(take_error(), 5);
    // SCREEN reads the read image, not the write image.
    set_write_page(imgnew(10, 10, 0));
    EXPECT_EQ(func_screen(1, 1, 0, 0), 65);
}

}  // namespace
