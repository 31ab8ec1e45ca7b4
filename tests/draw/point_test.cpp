// PSET, PRESET and POINT: cursor, colours, visibility, the POINT(n) forms and errors.
#include <cmath>
#include <limits>

#include "draw/coordinates.h"
#include "draw/lit_pixels.h"
#include "draw/point.h"
#include "image/alpha_statements.h"
#include "image/image_fixture.h"
#include "image/image_statements.h"

namespace {

class PointTest : public ImageTest {
protected:
    static img_struct* screen12() {
        screen(12);
        return write_page();
    }
    static img_struct* image32(uint32_t fill) {
        screen(12);
        sub__dest(func__newimage(16, 16, 32, 1));
        sub__source(-write_page_index());
        img_struct* im = write_page();
        for (int32_t y = 0; y < 16; y++)
            for (int32_t x = 0; x < 16; x++) set_pixel32(im, x, y, fill);
        return im;
    }
};

}  // namespace

TEST_F(PointTest, PsetStepWalksFromTheCursor) {
    img_struct* im = screen12();
    im->graphics.x = 0;
    im->graphics.y = 0;
    for (int i = 0; i < 10; i++) sub_pset(1, 0, 7, 1 | 2);
    pixel_set want;
    for (int x = 1; x <= 10; x++) want.insert({x, 0});
    EXPECT_EQ(lit_pixels(im), want);
    EXPECT_EQ(im->graphics.x, 10.0f);
    EXPECT_EQ(im->draw_color, 7u);
}

TEST_F(PointTest, PresetUsesTheBackgroundAndPointReadsBack) {
    img_struct* im = screen12();
    sub_pset(5, 5, 4, 2);
    EXPECT_EQ(func_point(5, 5, 1), 4.0);
    sub_preset(5, 5, 0, 0);
    EXPECT_EQ(func_point(5, 5, 1), 0.0);
    EXPECT_EQ(im->draw_color, 0u);
    sub_pset(6, 5, 0x1C, 2);  // masked to the 4-bit depth
    EXPECT_EQ(func_point(6, 5, 1), 12.0);
    sub_pset(7, 5, 0, 0);  // the foreground colour
    EXPECT_EQ(func_point(7, 5, 1), 15.0);
    EXPECT_EQ(func_point(700, 5, 1), -1.0);
    EXPECT_EQ(func_point(-1, 0, 1), -1.0);
    EXPECT_EQ(new_error, 0);
}

TEST_F(PointTest, ThirtyTwoBitPixelsBlendAndReadBackUnsigned) {
    image32(0xFF0000FF);
    sub_pset(5, 5, 0xFF112233, 2);
    EXPECT_EQ(func_point(5, 5, 1), 4279312947.0);
    sub_pset(6, 6, 0x80FF0000, 2);
    EXPECT_EQ(func_point(6, 6, 1), static_cast<double>(0xFF7F007Fu));
    sub__dontblend(0, 0);
    sub_pset(7, 7, 0x00FF0000, 2);
    EXPECT_EQ(func_point(7, 7, 1), static_cast<double>(0x00FF0000u));
}

TEST_F(PointTest, CursorFormsOfPoint) {
    screen12();
    zvg_sub_window(0, 0, 10, 10, 1);
    sub_pset(10, 10, 0, 0);
    EXPECT_EQ(func_point(0, 0, 0), 639.0);
    EXPECT_EQ(func_point(1, 0, 0), 0.0);
    EXPECT_EQ(func_point(2, 0, 0), 10.0);
    EXPECT_EQ(func_point(3, 0, 0), 10.0);
    sub_pset(2.25f, 7.5f, 0, 0);
    EXPECT_EQ(func_point(2, 0, 0), 2.25);  // unrounded
    EXPECT_EQ(func_point(3, 0, 0), 7.5);
    EXPECT_EQ(new_error, 0);
    EXPECT_EQ(func_point(4, 0, 0), 0.0);
    EXPECT_EQ(take_error(), 5);
    EXPECT_EQ(func_point(-0.6f, 0, 0), 0.0);
    EXPECT_EQ(take_error(), 5);
}

TEST_F(PointTest, CursorFormsIgnoreTheViewOffset) {
    screen12();
    zvg_sub_view(100, 100, 199, 199, 0, 0, 1);
    sub_pset(5, 7, 0, 0);
    EXPECT_EQ(func_point(0, 0, 0), 5.0);
    EXPECT_EQ(func_point(1, 0, 0), 7.0);
    EXPECT_EQ(func_point(100, 107, 1), -1.0);  // x 200 lies outside the VIEW
    EXPECT_EQ(func_point(5, 7, 1), 15.0);
    EXPECT_EQ(lit_pixels(write_page()), (pixel_set{{105, 107}}));
}

TEST_F(PointTest, ViewClipsPsetButTheCursorMoves) {
    img_struct* im = screen12();
    zvg_sub_view(100, 100, 199, 199, 0, 0, 1 | 2);
    sub_pset(5, 5, 4, 2);
    sub_pset(150, 150, 4, 2);
    EXPECT_EQ(lit_pixels(im), (pixel_set{{150, 150}}));
    sub_pset(300, 3, 9, 2);
    EXPECT_EQ(im->graphics.x, 300.0f);
    EXPECT_EQ(im->draw_color, 9u);
    EXPECT_EQ(func_point(5, 5, 1), -1.0);
}

TEST_F(PointTest, HugeAndNanCoordinatesDrawNothing) {
    img_struct* im = screen12();
    sub_pset(4294967301.0f, 0, 4, 2);
    EXPECT_EQ(im->graphics.x, 4294967301.0f);
    sub_pset(std::numeric_limits<float>::quiet_NaN(), 0, 4, 2);
    EXPECT_TRUE(std::isnan(im->graphics.x));
    sub_pset(0, -1e30f, 4, 2);
    EXPECT_TRUE(lit_pixels(im).empty());
    EXPECT_EQ(func_point(1e30f, 0, 1), -1.0);
    EXPECT_EQ(new_error, 0);
}

TEST_F(PointTest, TextScreensRaiseError5) {
    screen(0);
    img_struct* im = write_page();
    img_graphics_state before = im->graphics;
    sub_pset(1, 1, 1, 2);
    EXPECT_EQ(take_error(), 5);
    sub_preset(1, 1, 0, 0);
    EXPECT_EQ(take_error(), 5);
    EXPECT_EQ(func_point(1, 1, 1), 0.0);
    EXPECT_EQ(take_error(), 5);
    EXPECT_EQ(func_point(0, 0, 0), 0.0);
    EXPECT_EQ(take_error(), 5);
    EXPECT_EQ(memcmp(&before, &im->graphics, sizeof before), 0);
}

TEST_F(PointTest, PsetAndClipKeepsToTheView) {
    img_struct* im = screen12();
    zvg_sub_view(10, 10, 20, 20, 0, 0, 1 | 2);
    pset_and_clip(9, 10, 3);
    pset_and_clip(10, 10, 3);
    pset_and_clip(20, 21, 3);
    pset_and_clip(20, 20, 3);
    pset_and_clip(INT32_MIN, 10, 3);
    EXPECT_EQ(lit_pixels(im), (pixel_set{{10, 10}, {20, 20}}));
    EXPECT_EQ(point(20, 20), 3u);
}
