// CLS on text and graphics images: what each method clears, its errors, the cursors it resets.
#include <gtest/gtest.h>

#include <cstring>

#include "text/text_fixture.h"

namespace {

using Cls = TextTest;

// A text page with every cell holding a marker.
void mark_all(img_struct* im) {
    for (int32_t r = 1; r <= im->height; r++)
        for (int32_t c = 1; c <= im->width; c++) write_cell(im, r, c, 0x1F2A);
}

bool row_is(const img_struct* im, int32_t r, text_cell value) {
    for (int32_t c = 1; c <= im->width; c++)
        if (read_cell(im, r, c) != value) return false;
    return true;
}

TEST_F(Cls, TextMethodsClearTheirRows) {
    struct cls_case {
        int32_t method, passed;
        bool region, last_row;  // cleared
    };
    const cls_case cases[] = {
        {0, 0, true, true},   // CLS: the region and the last row
        {0, 1, true, true},   // CLS 0: everything
        {1, 1, false, false}, // CLS 1: only homes
        {2, 1, true, false},  // CLS 2: the region only
    };
    for (const cls_case& c : cases) {
        screen(0);
        img_struct* im = page();
        mark_all(im);
        im->graphics.draw_angle = 30;
        im->graphics.draw_scale = 4;
        at(12, 40);
        sub_cls(c.method, 0, c.passed);
        EXPECT_EQ(row_is(im, 1, 0x0720), c.region) << c.method << "/" << c.passed;
        EXPECT_EQ(row_is(im, 24, 0x0720), c.region) << c.method << "/" << c.passed;
        EXPECT_EQ(row_is(im, 25, 0x0720), c.last_row) << c.method << "/" << c.passed;
        EXPECT_EQ(y(), 1);
        EXPECT_EQ(x(), 1);
        EXPECT_EQ(im->graphics.draw_angle, 0);
        EXPECT_EQ(im->graphics.draw_scale, 1);
    }
}

TEST_F(Cls, ClsZeroOutsideTheRegionAndTheColourBecomesTheBackground) {
    screen(0);
    img_struct* im = page();
    im->color = 20;  // blinking 4
    mark_all(im);
    zvg_sub_view_print(5, 10, 1);
    sub_cls(0, 100, 2);  // colour 100: background 100 AND 7 = 4
    EXPECT_TRUE(row_is(im, 4, 0x1F2A));
    EXPECT_TRUE(row_is(im, 5, 0xC420));
    EXPECT_TRUE(row_is(im, 10, 0xC420));
    EXPECT_TRUE(row_is(im, 11, 0x1F2A));
    EXPECT_TRUE(row_is(im, 25, 0xC420));
    EXPECT_EQ(y(), 5);
    // The text pixel mask is 16 bits wide.
    sub_cls(0, 65536, 2);
    EXPECT_EQ(take_error(), 5);
}

TEST_F(Cls, ClsRedrawsTheKeyLine) {
    screen(0);
    key_display = 1;
    key_display_state = 1;
    sub_cls(0, 0, 0);
    EXPECT_EQ(cell(25, 1) & 255, '1');
    EXPECT_EQ(key_display_redraw, 0);
    sub_cls(2, 0, 1);
    EXPECT_EQ(cell(25, 1) & 255, '1');
}

TEST_F(Cls, RefusedArgumentsChangeNothing) {
    screen(12);
    img_struct* im = page();
    memset(im->pixels, 9, static_cast<size_t>(im->width) * im->height);
    at(7, 7);
    sub_cls(0, 16, 2);
    EXPECT_EQ(take_error(), 5);
    sub_cls(3, 0, 1);
    EXPECT_EQ(take_error(), 5);
    sub_cls(-1, 0, 1);
    EXPECT_EQ(take_error(), 5);
    for (int64_t i = 0; i < int64_t(im->width) * im->height; i++) ASSERT_EQ(im->pixels[i], 9);
    EXPECT_EQ(y(), 7);
    // Nothing at all while an error is pending.
    error(5);
    sub_cls(0, 0, 0);
    EXPECT_EQ(im->pixels[0], 9);
    take_error();
}

TEST_F(Cls, GraphicsClsFillsTheImageAndCentresTheGraphicsCursor) {
    screen(12);
    img_struct* im = page();
    memset(im->pixels, 9, static_cast<size_t>(im->width) * im->height);
    sub_cls(0, 3, 2);
    for (int64_t i = 0; i < int64_t(im->width) * im->height; i++) ASSERT_EQ(im->pixels[i], 3);
    EXPECT_EQ(im->graphics.x, 320);
    EXPECT_EQ(im->graphics.y, 240);
}

TEST_F(Cls, UnderAViewOnlyTheViewIsCleared) {
    screen(13);
    img_struct* im = page();
    memset(im->pixels, 9, 64000);
    img_graphics_state& g = im->graphics;
    g.clipping_or_scaling = 1;
    g.view_x1 = 10;
    g.view_y1 = 20;
    g.view_x2 = 19;
    g.view_y2 = 29;
    sub_cls(1, 4, 3);
    for (int32_t y = 0; y < 200; y++)
        for (int32_t x = 0; x < 320; x++) {
            bool inside = x >= 10 && x <= 19 && y >= 20 && y <= 29;
            ASSERT_EQ(im->pixels[y * 320 + x], inside ? 4 : 9) << x << "," << y;
        }
    EXPECT_EQ(g.x, 5);
    EXPECT_EQ(g.y, 5);
}

TEST_F(Cls, UnderAWindowTheCursorIsTheWindowPointOfTheCentre) {
    screen(12);
    img_graphics_state& g = page()->graphics;
    // WINDOW (-1, -1)-(1, 1): x * 320 + 320, y * -240 + 240.
    g.clipping_or_scaling = 2;
    g.scaling_x = 320;
    g.scaling_offset_x = 320;
    g.scaling_y = -240;
    g.scaling_offset_y = 240;
    sub_cls(0, 0, 0);
    EXPECT_EQ(g.x, 0);
    EXPECT_EQ(g.y, 0);
}

TEST_F(Cls, ClsTwoOnGraphicsFillsTheRegionRowsOnly) {
    screen(12);
    img_struct* im = page();
    memset(im->pixels, 9, 640 * 480);
    zvg_sub_view_print(5, 10, 1);
    im->graphics.x = 1;
    sub_cls(2, 2, 3);
    for (int32_t y = 0; y < 480; y++) ASSERT_EQ(im->pixels[y * 640 + 100], y >= 64 && y < 160 ? 2 : 9) << y;
    EXPECT_EQ(im->graphics.x, 1);
}

TEST_F(Cls, ThirtyTwoBitClsStoresTheColourUnblended) {
    int32_t index = imgnew(16, 16, 32);
    set_write_page(index);
    img_struct* im = page();
    sub_cls(0, 0x80FF0000u, 2);
    EXPECT_EQ(pixel32(im, 15, 15), 0x80FF0000u);
    EXPECT_EQ(im->blend_off, 0);
    im->graphics.clipping_or_scaling = 1;
    im->graphics.view_x2 = 7;
    im->graphics.view_y2 = 7;
    sub_cls(1, 0x4000FF00u, 3);
    EXPECT_EQ(pixel32(im, 0, 0), 0x4000FF00u);
    EXPECT_EQ(pixel32(im, 8, 8), 0x80FF0000u);
    EXPECT_EQ(im->blend_off, 0);
}

TEST_F(Cls, AnImageLowerThanOneCellIsClearedInsideItself) {
    int32_t index = imgnew(4, 4, 32);
    set_write_page(index);
    img_struct* im = page();
    EXPECT_EQ(im->bottom_row, 1);
    sub_cls(2, 0xFF123456u, 3);
    for (int32_t y = 0; y < 4; y++)
        for (int32_t x = 0; x < 4; x++) EXPECT_EQ(pixel32(im, x, y), 0xFF123456u);
}

TEST_F(Cls, ClsWithADestinationClearsThatImageAndKeepsTheWriteImage) {
    int32_t screen_index = screen(13);
    int32_t other = imgnew(8, 8, 13);
    memset(img_get(other)->pixels, 7, 64);
    sub_clsDest(0, 5, -other, 2 | 4);
    EXPECT_EQ(img_get(other)->pixels[63], 5);
    EXPECT_EQ(write_page_index(), screen_index);
    sub_clsDest(0, 5, -4000, 2 | 4);
    EXPECT_EQ(take_error(), 258);
    EXPECT_EQ(write_page_index(), screen_index);
    // A refused colour on the destination still gives the write image back.
    sub_clsDest(0, 500, -other, 2 | 4);
    EXPECT_EQ(take_error(), 5);
    EXPECT_EQ(write_page_index(), screen_index);
}

}  // namespace
