// PRINT with a loaded font through a fake font back end: both glyph routes, proportional widths, tab and comma.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "font/font_backend.h"
#include "font/font_tables.h"
#include "text/text_fixture.h"

namespace {

// Every character is a 4 x 3 bitmap: the left half covered by `coverage`, the
// right half clear; the width of a text is 10 pixels per character.
uint8_t coverage = 255;
int32_t rendered_monochrome = -1;
uint8_t rendered_byte = 0;

bool render_ascii(int32_t, const uint8_t* text, int32_t count, int32_t monochrome, uint8_t** bitmap, int32_t* w,
                  int32_t* h) {
    if (count != 1) return false;
    rendered_monochrome = monochrome;
    rendered_byte = text[0];
    *w = 4;
    *h = 3;
    *bitmap = static_cast<uint8_t*>(malloc(12));
    for (int i = 0; i < 12; i++) (*bitmap)[i] = i % 4 < 2 ? coverage : 0;
    return true;
}
int32_t width_ascii(int32_t, const uint8_t*, int32_t count) { return 10 * count; }
int32_t width_utf32(int32_t, const uint32_t*, int32_t count) { return 7 * count; }

const font_backend fake{nullptr, nullptr, nullptr, nullptr, nullptr, render_ascii, width_utf32, width_ascii};

class LoadedFont : public TextTest {
protected:
    void SetUp() override {
        TextTest::SetUp();
        font_set_backend(&fake);
        coverage = 255;
        rendered_monochrome = -1;
    }
    void TearDown() override {
        font_set_backend(nullptr);
        TextTest::TearDown();
    }
    // Font 32: a loaded font of height 3 (proportional unless given a width).
    static img_struct* image_with_font(int32_t w, int32_t h, int32_t mode, int32_t width = 0, int32_t flags = 0) {
        font[32] = 77;
        fontwidth[32] = width;
        fontheight[32] = 3;
        fontflags[32] = flags;
        set_write_page(imgnew(w, h, mode));
        img_struct* im = page();
        selectfont(32, im);
        return im;
    }
};

TEST_F(LoadedFont, TheAntiAliasedRouteMixesInkAndBackgroundByCoverage) {
    img_struct* im = image_with_font(20, 6, 32);
    im->color = 0xFFFF0000u;
    im->background_color = 0xFF0000FFu;
    struct mix_case {
        uint8_t coverage;
        uint32_t pixel;
    };
    for (mix_case m : {mix_case{0, 0xFF0000FFu}, mix_case{128, 0xFF80007Fu}, mix_case{255, 0xFFFF0000u}}) {
        coverage = m.coverage;
        at(1, 1);
        printchr('A');
        EXPECT_EQ(rendered_monochrome, 0);
        EXPECT_EQ(pixel32(im, 0, 0), m.pixel) << int(m.coverage);
        EXPECT_EQ(pixel32(im, 3, 2), 0xFF0000FFu);  // no coverage: the background
    }
    // Mode 1: ink with the coverage as alpha, over what is there; mode 2: background where uncovered.
    fill_pixel_rows(im, 0, 5, 0xFF000000u);
    im->print_mode = 1;
    coverage = 255;
    printchr('A');
    EXPECT_EQ(pixel32(im, 0, 0), 0xFFFF0000u);
    EXPECT_EQ(pixel32(im, 3, 0), 0xFF000000u);
    fill_pixel_rows(im, 0, 5, 0xFF000000u);
    im->print_mode = 2;
    printchr('A');
    EXPECT_EQ(pixel32(im, 0, 0), 0xFF000000u);
    EXPECT_EQ(pixel32(im, 3, 0), 0xFF0000FFu);
}

TEST_F(LoadedFont, PaletteImagesAndUnblendedImagesTakeTheMonochromeRoute) {
    img_struct* im = image_with_font(20, 6, 13);
    im->color = 4;
    im->background_color = 1;
    coverage = 7;
    printchr(0x141);  // cut to its low byte
    EXPECT_EQ(rendered_monochrome, 1);
    EXPECT_EQ(rendered_byte, 0x41);
    EXPECT_EQ(im->pixels[0], 4);
    EXPECT_EQ(im->pixels[3], 1);
    EXPECT_EQ(im->pixels[20 * 3], 0);  // the bitmap has 3 rows
    img_struct* unblended = image_with_font(20, 6, 32);
    unblended->blend_off = 1;
    printchr('B');
    EXPECT_EQ(rendered_monochrome, 1);
    image_with_font(20, 6, 32, 0, FONT_DONTBLEND);
    printchr('C');
    EXPECT_EQ(rendered_monochrome, 1);
}

TEST_F(LoadedFont, AProportionalFontAdvancesByTheCharactersWidth) {
    img_struct* im = image_with_font(35, 12, 13);
    EXPECT_EQ(chrwidth('x'), 10);
    EXPECT_EQ(func__printwidth(text("abc"), 0, 0), 30);
    item("ab");
    EXPECT_EQ(x(), 21);
    // A third character still fits; a fourth does not.
    item("c");
    EXPECT_EQ(x(), 31);
    item("d");
    EXPECT_EQ(y(), 2);
    EXPECT_EQ(x(), 11);
    // makefit measures the item in pixels.
    at(1, 21);
    item("xy");
    EXPECT_EQ(y(), 2);
    (void)im;
}

TEST_F(LoadedFont, ProportionalTabAndCommaFillToTheirStops) {
    img_struct* im = image_with_font(300, 12, 13);
    im->background_color = 5;
    at(1, 11);
    item("\t");
    EXPECT_EQ(x(), 64);
    EXPECT_EQ(im->pixels[10], 5);
    EXPECT_EQ(im->pixels[63], 5);
    EXPECT_EQ(im->pixels[64], 0);
    EXPECT_EQ(im->pixels[9], 0);
    tab();
    EXPECT_EQ(x(), 112);
    EXPECT_EQ(im->pixels[111], 5);
    at(1, 250);
    tab();  // no stop left on the row
    EXPECT_EQ(y(), 2);
    EXPECT_EQ(im->pixels[299], 5);
    // Print mode 1 keeps the background.
    im->print_mode = 1;
    at(2, 1);
    im->pixels[300 * 3] = 9;
    item("\t");
    EXPECT_EQ(x(), 64);
    EXPECT_EQ(im->pixels[300 * 3], 9);
}

TEST_F(LoadedFont, AUnicodeFontReadsFourBytesPerCharacter) {
    image_with_font(100, 6, 32, 0, FONT_UNICODE);
    EXPECT_EQ(chrwidth(0x263A), 7);
    const uint8_t units[] = {0x3A, 0x26, 0, 0, 0x41, 0, 0, 0, 0x42};  // two characters and a stray byte
    zvs* s = zvs_new_txt_len(units, sizeof units);
    zvs_print(s, 0);
    EXPECT_EQ(x(), 15);
    EXPECT_EQ(rendered_byte, 0x41);
}

TEST_F(LoadedFont, TabAndSpcCountInSpacesOfTheFont) {
    image_with_font(200, 6, 13);
    at(1, 1);
    EXPECT_EQ(str(func_tab(35)), std::string(4, ' '));  // 34 pixels in spaces of 10
    EXPECT_EQ(str(func_spc(25)), std::string(5, ' '));  // 20 spaces of room, count modulo 20
}

}  // namespace
