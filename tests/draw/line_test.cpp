// LINE: the DDA's rounding, end points, STEP, the cursor and draw colour, errors,
// and blending on 32-bit images.
#include <algorithm>
#include <limits>
#include <vector>

#include "draw/coordinates.h"
#include "draw/line.h"
#include "draw/raster_fixture.h"

namespace {

using Line = RasterTest;

std::vector<std::pair<int32_t, int32_t>> lit(const img_struct* im) {
    std::vector<std::pair<int32_t, int32_t>> out;
    for (int32_t y = 0; y < im->height; y++)
        for (int32_t x = 0; x < im->width; x++)
            if (im->pixels[static_cast<size_t>(y) * im->width + x]) out.emplace_back(x, y);
    return out;
}

}  // namespace

TEST_F(Line, SteppingRoundsHalfAwayFromZero) {
    img_struct* im = canvas(16, 8);
    sub_line(0, 0, 10, 3, 1, 0, 0, 1 | 8);
    const int32_t ys[11] = {0, 0, 1, 1, 1, 2, 2, 2, 2, 3, 3};
    std::vector<std::pair<int32_t, int32_t>> expected;
    for (int32_t x = 0; x <= 10; x++) expected.emplace_back(x, ys[x]);
    std::sort(expected.begin(), expected.end(),
              [](auto a, auto b) { return a.second != b.second ? a.second < b.second : a.first < b.first; });
    EXPECT_EQ(lit(im), expected);
}

TEST_F(Line, DiagonalAndSinglePoint) {
    img_struct* im = canvas(16, 16);
    sub_line(0, 0, 10, 10, 1, 0, 0, 1 | 8);
    auto pixels = lit(im);
    ASSERT_EQ(pixels.size(), 11u);
    for (int32_t i = 0; i <= 10; i++) EXPECT_EQ(pixels[i], std::make_pair(i, i));
    im = canvas(16, 16);
    sub_line(5, 5, 5, 5, 2, 0, 0, 1 | 8);
    EXPECT_EQ(lit(im), (std::vector<std::pair<int32_t, int32_t>>{{5, 5}}));
}

TEST_F(Line, StepMovesFromTheCursorAndLeavesItAtTheEnd) {
    img_struct* im = canvas(16, 16);
    im->graphics.x = 5;
    im->graphics.y = 5;
    sub_line(1, 1, 2, 2, 3, 0, 0, 1 | 2 | 4 | 8);
    EXPECT_EQ(lit(im), (std::vector<std::pair<int32_t, int32_t>>{{6, 6}, {7, 7}, {8, 8}}));
    EXPECT_EQ(im->graphics.x, 8);
    EXPECT_EQ(im->graphics.y, 8);
    // Without a first point the line starts at the cursor; the foreground colour.
    sub_line(0, 0, 8, 12, 0, 0, 0, 0);
    EXPECT_EQ(im->pixels[10 * 16 + 8], 15);
    EXPECT_EQ(im->pixels[12 * 16 + 8], 15);
    EXPECT_EQ(im->draw_color, 15u);
}

TEST_F(Line, BoxKindsOtherThanLineBoxAndFillDrawNothing) {
    img_struct* im = canvas(16, 16);
    im->draw_color = 9;
    sub_line(0, 0, 5, 5, 4, 3, 0, 1 | 8);
    EXPECT_TRUE(lit(im).empty());
    EXPECT_EQ(im->graphics.x, 5);
    EXPECT_EQ(im->graphics.y, 5);
    EXPECT_EQ(im->draw_color, 9u);
    sub_line(0, 0, 5, 5, 4, 2, 0, 1 | 8);
    EXPECT_EQ(im->draw_color, 4u);
    EXPECT_EQ(lit(im).size(), 36u);
}

TEST_F(Line, FilledBoxIsClampedToTheView) {
    screen(12);
    zvg_sub_view(50, 50, 60, 60, 0, 0, 1 | 2);
    sub_line(0, 0, 100, 100, 4, 2, 0, 1 | 8);
    auto pixels = lit(write_page());
    ASSERT_EQ(pixels.size(), 121u);
    EXPECT_EQ(pixels.front(), std::make_pair(50, 50));
    EXPECT_EQ(pixels.back(), std::make_pair(60, 60));
}

TEST_F(Line, TextImagesRefuseLine) {
    screen(0);
    img_graphics_state before = write_page()->graphics;
    sub_line(0, 0, 5, 5, 1, 0, 0, 1 | 8);
    EXPECT_EQ(take_error(), 5);
    EXPECT_EQ(memcmp(&before, &write_page()->graphics, sizeof before), 0);
    // Nothing while an error is pending.
    img_struct* im = canvas(8, 8);
    error(9);
    sub_line(0, 0, 5, 5, 1, 0, 0, 1 | 8);
    EXPECT_EQ(take_error(), 9);
    EXPECT_TRUE(lit(im).empty());
}

TEST_F(Line, OutOfRangeCoordinatesDrawOnlyTheVisiblePart) {
    img_struct* im = canvas(16, 8);
    sub_line(-1e30f, 3, 1e30f, 3, 1, 0, 0, 1 | 8);  // both ends round to -2147483648
    EXPECT_TRUE(lit(im).empty());
    sub_line(-2147483648.0f, 3, 5, 3, 2, 0, 0, 1 | 8);
    EXPECT_EQ(lit(im).size(), 6u);
    // NaN counts as -2147483648 too: the line comes in from the left edge.
    sub_line(std::numeric_limits<float>::quiet_NaN(), 0, 3, 0, 2, 0, 0, 1 | 8);
    EXPECT_EQ(lit(im).size(), 10u);
    EXPECT_EQ(im->pixels[0], 2);
}

TEST_F(Line, TranslucentBoxCornersAreBlendedTwice) {
    screen(13);
    int32_t h = func__newimage(12, 12, 32, 1);
    sub__dest(h);
    img_struct* im = write_page();
    for (int32_t y = 0; y < 12; y++)
        for (int32_t x = 0; x < 12; x++) set_pixel32(im, x, y, 0xFF000000);
    sub_line(10, 10, 0, 0, 0x80FFFFFF, 1, 0, 1 | 8);
    for (int32_t y = 0; y < 12; y++)
        for (int32_t x = 0; x < 12; x++) {
            bool corner = (x == 0 || x == 10) && (y == 0 || y == 10);
            bool edge = x <= 10 && y <= 10 && (x == 0 || x == 10 || y == 0 || y == 10);
            uint32_t expected = corner ? 0xFFBEBEBE : edge ? 0xFF7F7F7F : 0xFF000000;
            ASSERT_EQ(pixel32(im, x, y), expected) << x << "," << y;
        }
}

TEST_F(Line, AlphaZeroChangesNothingUnlessBlendingIsOff) {
    screen(13);
    int32_t h = func__newimage(8, 8, 32, 1);
    sub__dest(h);
    img_struct* im = write_page();
    set_pixel32(im, 2, 2, 0xFF112233);
    sub_line(0, 0, 7, 7, 0x00FF0000, 2, 0, 1 | 8);
    sub_line(0, 2, 7, 2, 0x00FF0000, 0, 0, 1 | 8);
    EXPECT_EQ(pixel32(im, 2, 2), 0xFF112233u);
    im->blend_off = 1;
    sub_line(0, 0, 7, 7, 0x00FF0000, 2, 0, 1 | 8);
    EXPECT_EQ(pixel32(im, 2, 2), 0x00FF0000u);
    EXPECT_EQ(pixel32(im, 7, 7), 0x00FF0000u);
}

TEST_F(Line, FastLineClipsToTheViewWithoutMapping) {
    img_struct* im = canvas(16, 16);
    zvg_sub_view(4, 4, 11, 11, 0, 0, 1);  // offsets (4, 4) do not apply to fast_line
    fast_line(-10, 8, 30, 8, 5);
    auto pixels = lit(im);
    ASSERT_EQ(pixels.size(), 8u);
    EXPECT_EQ(pixels.front(), std::make_pair(4, 8));
    EXPECT_EQ(pixels.back(), std::make_pair(11, 8));
}

TEST(RotateLeft, CountModulo32) {
    EXPECT_EQ(rotateLeft(0x80000001u, 1), 0x00000003u);
    EXPECT_EQ(rotateLeft(0x12345678u, 32), 0x12345678u);
    EXPECT_EQ(rotateLeft(0x12345678u, 36), 0x23456781u);
    EXPECT_EQ(rotateLeft(0x12345678u, 0), 0x12345678u);
}
