// LINE pixel for pixel against golden dumps: every octant in both directions, VIEW
// clipping with offsets, WINDOW with y upwards, boxes, filled boxes and styles.
#include <algorithm>
#include <cstdlib>
#include <random>
#include <vector>

#include "draw/coordinates.h"
#include "draw/line.h"
#include "draw/raster_fixture.h"

namespace {

using LineRaster = RasterTest;

// LINE (x1, y1)-(x2, y2), colour[, box[, style]].
void line(float x1, float y1, float x2, float y2, uint32_t col, int32_t box = 0, int32_t style = -1) {
    int32_t passed = 1 | 8 | (style >= 0 ? 16 : 0);
    sub_line(x1, y1, x2, y2, col, box, style >= 0 ? static_cast<uint32_t>(style) : 0, passed);
}

void view(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t border) {
    zvg_sub_view(x1, y1, x2, y2, 0, border, 1 | 8);
}

const int32_t targets[24][2] = {{32, 16}, {32, 21}, {32, 27}, {32, 32}, {27, 32}, {21, 32}, {16, 32}, {11, 32},
                                {5, 32},  {0, 32},  {0, 27},  {0, 21},  {0, 16},  {0, 11},  {0, 5},   {0, 0},
                                {5, 0},   {11, 0},  {16, 0},  {21, 0},  {27, 0},  {32, 0},  {32, 5},  {32, 11}};

// Golden dumps, kept as data beside the test.
const char* const line_octants =
#include "draw/golden/line_octants.inc"
    ;

const char* const line_octants_reversed =
#include "draw/golden/line_octants_reversed.inc"
    ;

const char* const line_view_clip =
#include "draw/golden/line_view_clip.inc"
    ;

const char* const line_window_up =
#include "draw/golden/line_window_up.inc"
    ;

const char* const line_window_in_view =
#include "draw/golden/line_window_in_view.inc"
    ;

const char* const line_boxes =
#include "draw/golden/line_boxes.inc"
    ;

const char* const line_styles =
#include "draw/golden/line_styles.inc"
    ;

}  // namespace

TEST_F(LineRaster, AllOctantsFromTheCentre) {
    img_struct* im = canvas(33, 33);
    for (int k = 0; k < 24; k++) line(16, 16, targets[k][0], targets[k][1], k % 15 + 1);
    EXPECT_EQ(dump(im), golden(line_octants));
}

TEST_F(LineRaster, AllOctantsTowardsTheCentre) {
    img_struct* im = canvas(33, 33);
    for (int k = 0; k < 24; k++) line(targets[k][0], targets[k][1], 16, 16, k % 15 + 1);
    EXPECT_EQ(dump(im), golden(line_octants_reversed));
}

TEST_F(LineRaster, ClippedByViewWithItsOffset) {
    img_struct* im = canvas(32, 24);
    view(4, 3, 27, 20, 9);
    line(-10, -5, 40, 30, 1);
    line(-4, 20, 27, -3, 2);
    line(-7, 7, 50, 9, 3);
    line(11, -20, 13, 40, 4);
    line(-8, 12, 30, 12, 6, 0, 0xF0F0);
    line(30, -10, 35, 30, 5);
    line(20, 5, 20, 5, 7);
    EXPECT_EQ(dump(im), golden(line_view_clip));
}

TEST_F(LineRaster, WindowWithYUpwards) {
    img_struct* im = canvas(32, 24);
    zvg_sub_window(-1, -1, 1, 1, 1);
    line(-1, -1, 1, 1, 1);
    line(-1, 0, 1, 0, 2);
    line(0, -1, 0, 1, 3);
    line(-0.5f, 0.5f, 0.5f, -0.2f, 4);
    line(-0.8f, -0.8f, -0.2f, -0.3f, 5, 1);
    line(0.2f, 0.3f, 0.9f, 0.9f, 6, 2);
    EXPECT_EQ(dump(im), golden(line_window_up));
}

TEST_F(LineRaster, WindowInsideAView) {
    img_struct* im = canvas(32, 24);
    view(2, 2, 29, 21, 10);
    zvg_sub_window(0, 0, 100, 50, 1);
    line(0, 0, 100, 50, 1);
    line(0, 50, 100, 0, 2);
    line(-20, 25, 120, 25, 3);
    line(50, -10, 50, 60, 4, 0, 0xCCCC);
    EXPECT_EQ(dump(im), golden(line_window_in_view));
}

TEST_F(LineRaster, BoxesAndFilledBoxes) {
    img_struct* im = canvas(32, 24);
    line(-5, -5, 2, 22, 6, 2);
    line(1, 1, 10, 8, 1, 1);
    line(30, 2, 20, 9, 2, 1);
    line(3, 12, 12, 20, 3, 2);
    line(28, 22, 16, 14, 4, 2);
    line(14, 2, 14, 2, 5, 1);
    line(18, 11, 40, 30, 7, 1);
    line(14, 4, 17, 9, 8, 1, 0xCCCC);
    EXPECT_EQ(dump(im), golden(line_boxes));
}

TEST_F(LineRaster, Styles) {
    img_struct* im = canvas(32, 24);
    line(0, 0, 31, 0, 1, 0, 0xF0F0);
    line(0, 2, 31, 2, 2, 0, 0xAAAA);
    line(0, 4, 31, 4, 3, 0, 0x8001);
    line(31, 6, 0, 6, 4, 0, 0x0FF0);
    line(0, 8, 31, 15, 5, 0, 0xF00F);
    line(-4, 18, 31, 18, 6, 0, 0xF0F0);
    line(30, 23, 30, 8, 7, 0, 0xCCCC);
    line(2, 10, 12, 23, 8, 0, 0xFF00);
    line(0, 21, 31, 21, 9, 0, 0x0000);
    EXPECT_EQ(dump(im), golden(line_styles));
}

namespace {

// The stepping as LINE defines it, written out plainly: r and its step in single
// precision, the minor coordinate rounded halves away from zero (in double), the
// pattern rotated once per pixel, and a pixel whose minor coordinate drifted off the
// image not written.
void stepped_line(std::vector<uint8_t>& pixels, int32_t width, int32_t height, int32_t x1, int32_t y1, int32_t x2,
                  int32_t y2, uint8_t colour, uint32_t style) {
    uint32_t pattern = (style & 0xFFFF) + (style << 16);
    int32_t dx = std::abs(x2 - x1), dy = std::abs(y2 - y1);
    bool x_major = dx > dy;
    int32_t n = x_major ? dx : dy;
    float r = static_cast<float>(x_major ? y1 : x1);
    float step = n ? static_cast<float>(x_major ? y2 - y1 : x2 - x1) / static_cast<float>(n) : 0.0f;
    int32_t major = x_major ? x1 : y1, major_step = (x_major ? x2 >= x1 : y2 >= y1) ? 1 : -1;
    for (int32_t i = 0; i <= n; i++, major += major_step, r += step) {
        pattern = pattern << 1 | pattern >> 31;
        double d = r;
        int32_t minor = static_cast<int32_t>(d < 0 ? d - 0.5 : d + 0.5);
        int32_t x = x_major ? major : minor, y = x_major ? minor : major;
        if ((pattern & 1) && x >= 0 && x < width && y >= 0 && y < height)
            pixels[static_cast<size_t>(y) * width + x] = colour;
    }
}

}  // namespace

// Random lines of every length on a 2000 x 2000 image, solid and styled, pixel for
// pixel against the plain stepping. The longest lines there are long enough for float
// drift to matter; the short ones, many of them around powers of two (where the
// float sums change their unit), take the loops that need no drift check.
TEST_F(LineRaster, RandomLinesMatchThePlainStepping) {
    constexpr int32_t size = 2000;
    img_struct* im = canvas(size, size);
    std::vector<uint8_t> expected(static_cast<size_t>(size) * size, 0);
    std::mt19937 rng(7);
    for (int k = 0; k < 5000; k++) {
        int32_t x1 = static_cast<int32_t>(rng() % size), y1 = static_cast<int32_t>(rng() % size);
        int32_t x2 = static_cast<int32_t>(rng() % size), y2 = static_cast<int32_t>(rng() % size);
        if (k % 3 == 0) y2 = std::clamp(y1 + static_cast<int32_t>(rng() % 7) - 3, 0, size - 1);  // nearly level
        if (k >= 500) {  // short lines, also near the powers of two
            if (k % 2) x1 = std::clamp((1 << (rng() % 11)) + static_cast<int32_t>(rng() % 9) - 4, 0, size - 1);
            if (k % 4 < 2) y1 = std::clamp((1 << (rng() % 11)) + static_cast<int32_t>(rng() % 9) - 4, 0, size - 1);
            x2 = std::clamp(x1 + static_cast<int32_t>(rng() % 25) - 12, 0, size - 1);
            y2 = std::clamp(y1 + static_cast<int32_t>(rng() % 25) - 12, 0, size - 1);
        }
        uint8_t colour = static_cast<uint8_t>(k % 255 + 1);
        uint32_t style = k % 2 ? rng() & 0xFFFF : 0xFFFF;
        line(static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2), static_cast<float>(y2), colour, 0,
             static_cast<int32_t>(style));
        stepped_line(expected, size, size, x1, y1, x2, y2, colour, style);
    }
    size_t first_difference = 0;
    while (first_difference < expected.size() && expected[first_difference] == im->pixels[first_difference])
        first_difference++;
    EXPECT_EQ(first_difference, expected.size())
        << "first difference at (" << first_difference % size << ", " << first_difference / size << ")";
}
