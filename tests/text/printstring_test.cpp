// _PRINTSTRING and _PRINTMODE: pixel dumps against the packed glyph ROMs, the VIEW
// clip, control bytes, the text path's cursor, handles and out-of-range positions.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "draw/coordinates.h"
#include "font/font_backend.h"
#include "image/image_statements.h"
#include "text/printmode.h"
#include "screen/width.h"
#include "text/printstring.h"
#include "text/text_fixture.h"

namespace {

class PrintString : public TextTest {
protected:
    static void printstring(float x, float y, const std::string& s, int32_t handle = 0, int32_t passed = 0) {
        sub__printstring(x, y, text(s), handle, passed);
    }
    static uint8_t px(const img_struct* im, int32_t x, int32_t y) { return im->pixels[y * im->width + x]; }
    static void fill(img_struct* im, uint8_t v) { fill_pixel_rows(im, 0, im->height - 1, v); }
};

// Bit of the packed ROMs, read independently of the unpacked sets the runtime draws
// from: font 14 is rows 1-14 of the 8 x 16 glyph.
bool rom_bit(int32_t font, uint8_t n, int32_t r, int32_t c) {
    uint8_t row = font == 8 ? glyph_rom_8x8[n * 8 + r] : glyph_rom_8x16[n * 16 + r + (font == 14 ? 1 : 0)];
    return row >> (7 - c) & 1;
}

struct mode_case {
    const char* name;
    int32_t option;  // _PRINTMODE option; 0 none (fill)
    bool ink_drawn, paper_drawn;
};

TEST_F(PrintString, EachPrintModeDrawsItsPartOfTheCellsAndNothingElse) {
    const mode_case modes[] = {
        {"default", 0, true, true},
        {"fill", 1, true, true},
        {"keep background", 2, true, false},
        {"only background", 3, false, true},
    };
    const int32_t screens[] = {12, 9, 13};
    for (int32_t s : screens) {
        for (const mode_case& m : modes) {
            SCOPED_TRACE(std::string(m.name) + " SCREEN " + std::to_string(s));
            screen(s);
            img_struct* im = page();
            fill(im, 9);
            if (m.option) sub__printmode(m.option, 0, 0);
            printstring(0, 0, "AB");
            ASSERT_EQ(new_error, 0);
            int32_t font = im->font, rows = font == 8 ? 8 : font;
            for (int32_t y = 0; y < im->height; y++) {
                for (int32_t x = 0; x < im->width; x++) {
                    uint8_t expect = 9;
                    if (x < 16 && y < rows) {
                        bool set = rom_bit(font, x < 8 ? 'A' : 'B', y, x % 8);
                        if (set && m.ink_drawn) expect = static_cast<uint8_t>(im->color);
                        if (!set && m.paper_drawn) expect = static_cast<uint8_t>(im->background_color);
                    }
                    ASSERT_EQ(px(im, x, y), expect) << x << "," << y;
                }
            }
            EXPECT_EQ(cursor_x(im), 1);
            EXPECT_EQ(cursor_y(im), 1);
        }
    }
}

TEST_F(PrintString, GlyphsSitAtTheTruncatedPositionAndAreCutAtTheView) {
    screen(12);
    img_struct* im = page();
    zvg_sub_view(0, 0, 99, 99, 0, 0, 1 | 2);
    at(5, 3);
    printstring(96.9f, 10.7f, "AB");
    ASSERT_EQ(new_error, 0);
    for (int32_t y = 0; y < 40; y++)
        for (int32_t x = 90; x < 120; x++) {
            bool inside = x >= 96 && x < 100 && y >= 10 && y < 26;
            uint8_t expect = inside && rom_bit(16, 'A', y - 10, x - 96) ? 15 : 0;
            ASSERT_EQ(px(im, x, y), expect) << x << "," << y;
        }
    EXPECT_EQ(cursor_y(im), 5);
    EXPECT_EQ(cursor_x(im), 3);
    EXPECT_EQ(cursor_held(im), 0);
    EXPECT_FLOAT_EQ(im->graphics.x, 96.9f);
    EXPECT_FLOAT_EQ(im->graphics.y, 10.7f);
}

TEST_F(PrintString, StepMovesTheGraphicsCursorButGlyphsStayAtTheGivenPixel) {
    screen(12);
    img_struct* im = page();
    im->graphics.x = 100;
    im->graphics.y = 50;
    printstring(8, 0, "\xDB", 0, 1);  // full block
    EXPECT_FLOAT_EQ(im->graphics.x, 108);
    EXPECT_FLOAT_EQ(im->graphics.y, 50);
    EXPECT_EQ(px(im, 8, 0), 15);
    EXPECT_EQ(px(im, 108, 50), 0);
}

TEST_F(PrintString, ControlBytesAreGlyphsOnGraphicsAndActOnText) {
    screen(12);
    img_struct* im = page();
    printstring(1, 1, std::string("a\rb"));
    for (int32_t i = 0; i < 3; i++) {
        uint8_t n = static_cast<uint8_t>("a\rb"[i]);
        for (int32_t r = 0; r < 16; r++)
            for (int32_t c = 0; c < 8; c++) ASSERT_EQ(px(im, 1 + 8 * i + c, 1 + r), rom_bit(16, n, r, c) ? 15 : 0);
    }
    EXPECT_EQ(cursor_y(im), 1);

    screen(0);
    at(7, 9);
    printstring(1, 1, std::string("a\rb"));
    EXPECT_EQ(cell(1, 1) & 255, 'a');
    EXPECT_EQ(cell(2, 1) & 255, 'b');
    EXPECT_EQ(y(), 7);
    EXPECT_EQ(x(), 9);
}

TEST_F(PrintString, TextScreenPrintsOnTheLastRowAndKeepsTheCursor) {
    screen(0);
    at(3, 4);
    printstring(1, 25, "x");
    ASSERT_EQ(new_error, 0);
    EXPECT_EQ(cell(25, 1), 0x0700 | 'x');
    EXPECT_EQ(y(), 3);
    EXPECT_EQ(x(), 4);
    // LOCATE's range applies.
    printstring(81, 1, "x");
    EXPECT_EQ(take_error(), 5);
    printstring(1e10f, 1, "x");
    EXPECT_EQ(take_error(), 5);
    EXPECT_EQ(y(), 3);
}

TEST_F(PrintString, ARowBelowTheStartUpScreenSwitchesTo80By50AndKeepsTheNewPage) {
    screen(0);
    set_locate_width(width_columns_rows);
    width8050switch = 1;
    at(3, 4);
    printstring(2, 40, "x");
    ASSERT_EQ(new_error, 0);
    EXPECT_EQ(write_page_index(), page_index(0));
    EXPECT_EQ(page()->height, 50);
    EXPECT_EQ(cell(40, 2) & 255, 'x');
    EXPECT_EQ(y(), 3);
    EXPECT_EQ(x(), 4);
}

TEST_F(PrintString, AHeldCursorStaysHeldSoTheNextPrintScrollsOnce) {
    screen(0);
    at(24, 1);
    item(std::string(80, 'x'));
    ASSERT_EQ(cursor_held(page()), 1);
    printstring(1, 1, "z");
    item("y");
    EXPECT_EQ(row(23), std::string(80, 'x'));
    EXPECT_EQ(cell(24, 1) & 255, 'y');
}

TEST_F(PrintString, AHandleNamesTheImageAndTheWriteImageComesBack) {
    screen(0);
    int32_t write = write_page_index();
    printstring(0, 0, "a", -99, 2);
    EXPECT_EQ(take_error(), 258);
    EXPECT_EQ(write_page_index(), write);

    int32_t handle = func__newimage(64, 32, 13, 1);
    printstring(0, 0, "\xDB", handle, 2);
    ASSERT_EQ(new_error, 0);
    EXPECT_EQ(write_page_index(), write);
    const img_struct* im = img_get(-handle);
    EXPECT_EQ(px(im, 7, 7), 15);
    EXPECT_EQ(px(im, 8, 0), 0);
    // A page number names a page, made on demand.
    printstring(2, 3, "p", 1, 2);
    ASSERT_EQ(new_error, 0);
    EXPECT_EQ(read_cell(img_get(page_index(1)), 3, 2) & 255, 'p');
    EXPECT_EQ(write_page_index(), write);
}

TEST_F(PrintString, PositionsBeyondInt32DrawNothing) {
    screen(12);
    img_struct* im = page();
    const float far[][2] = {{1e10f, 0}, {-1e10f, 0}, {0, 1e10f}, {NAN, 0}, {2147483520.0f, 0}};
    for (const auto& p : far) {
        printstring(p[0], p[1], "AB");
        EXPECT_EQ(take_error(), 0);
    }
    for (int32_t y = 0; y < im->height; y++)
        for (int32_t x = 0; x < im->width; x++) ASSERT_EQ(px(im, x, y), 0) << x << "," << y;
}

TEST_F(PrintString, AnEmptyTextDoesNothing) {
    screen(12);
    printstring(5, 5, "", 0, 1);
    EXPECT_FLOAT_EQ(page()->graphics.x, 320);
    EXPECT_EQ(new_error, 0);
}

// A loaded font renders the whole text at once: 3 pixels per character, all set.
int32_t rendered_count = 0;
bool render_ascii(int32_t, const uint8_t*, int32_t count, int32_t, uint8_t** bitmap, int32_t* w, int32_t* h) {
    rendered_count = count;
    *w = 3 * count;
    *h = 2;
    *bitmap = static_cast<uint8_t*>(malloc(static_cast<size_t>(*w) * 2));
    for (int32_t i = 0; i < *w * 2; i++) (*bitmap)[i] = i % 3 == 0 ? 255 : 0;
    return true;
}
const font_backend fake{nullptr, nullptr, nullptr, nullptr, nullptr, render_ascii, nullptr, nullptr};

TEST_F(PrintString, ALoadedFontRendersTheWholeTextInOneBitmap) {
    font_set_backend(&fake);
    font[32] = 5;
    fontwidth[32] = 0;
    fontheight[32] = 2;
    fontflags[32] = 0;
    screen(13);
    img_struct* im = page();
    selectfont(32, im);
    fill(im, 9);
    sub__printmode(2, 0, 0);  // keep background
    printstring(4, 6, "abcd");
    font_set_backend(nullptr);
    EXPECT_EQ(rendered_count, 4);
    for (int32_t y = 5; y < 9; y++)
        for (int32_t x = 0; x < 20; x++) {
            bool set = y >= 6 && y < 8 && x >= 4 && x < 16 && (x - 4) % 3 == 0;
            ASSERT_EQ(px(im, x, y), set ? 15 : 9) << x << "," << y;
        }
}

using PrintMode = PrintString;

TEST_F(PrintMode, OptionsMapToStoredModesAndTextImagesTakeOnlyFill) {
    screen(12);
    EXPECT_EQ(func__printmode(0, 0), 3);
    sub__printmode(2, 0, 0);
    EXPECT_EQ(func__printmode(0, 0), 1);
    sub__printmode(3, 0, 0);
    EXPECT_EQ(func__printmode(0, 0), 2);
    sub__printmode(7, 0, 0);
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(func__printmode(0, 0), 2);
    sub__printmode(1, 0, 0);
    EXPECT_EQ(func__printmode(0, 0), 3);

    int32_t handle = func__newimage(16, 16, 32, 1);
    sub__printmode(2, handle, 1);
    EXPECT_EQ(func__printmode(handle, 1), 1);
    EXPECT_EQ(func__printmode(0, 0), 3);
    EXPECT_EQ(func__printmode(-99, 1), 0);
    EXPECT_EQ(take_error(), 258);
    sub__printmode(2, -99, 1);
    EXPECT_EQ(take_error(), 258);

    screen(0);
    sub__printmode(2, 0, 0);
    EXPECT_EQ(take_error(), 5);
    sub__printmode(3, 0, 0);
    EXPECT_EQ(take_error(), 5);
    sub__printmode(1, 0, 0);
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(func__printmode(0, 0), 3);
    error(5);
    EXPECT_EQ(func__printmode(0, 0), 0);
}

}  // namespace
