// CIRCLE: the pixels of small circles, extents, aspect, arcs and pies, the blend count
// of mirrored points, visibility and errors.
#include <cmath>
#include <limits>

#include "draw/circle.h"
#include "draw/coordinates.h"
#include "draw/lit_pixels.h"
#include "draw/raster_fixture.h"
#include "image/image_fixture.h"
#include "image/image_statements.h"

namespace {

class CircleTest : public ImageTest {
protected:
    static img_struct* page(int32_t mode) {
        screen(mode);
        img_struct* im = write_page();
        memset(im->pixels, 0, static_cast<size_t>(im->width) * im->height);
        return im;
    }
    static img_struct* image32() {
        screen(12);
        sub__dest(func__newimage(220, 220, 32, 1));
        img_struct* im = write_page();
        for (int32_t y = 0; y < im->height; y++)
            for (int32_t x = 0; x < im->width; x++) set_pixel32(im, x, y, 0xFF000000);
        return im;
    }
    static void circle(double x, double y, double r, uint32_t col = 0, int32_t passed = 0) {
        sub_circle(x, y, r, col, 0, 0, 0, passed);
    }
    static void arc(double x, double y, double r, double start, double end) {
        sub_circle(x, y, r, 0, start, end, 0, 4 | 8);
    }
    struct box {
        int32_t x1, y1, x2, y2;
        bool operator==(const box&) const = default;
    };
    static box extent(const pixel_set& s) {
        box b{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
        for (auto [x, y] : s) {
            b.x1 = std::min(b.x1, x);
            b.y1 = std::min(b.y1, y);
            b.x2 = std::max(b.x2, x);
            b.y2 = std::max(b.y2, y);
        }
        return b;
    }
    // Pixels around (cx, cy) given as offsets in each quadrant's sign combinations.
    static pixel_set around(int32_t cx, int32_t cy, std::initializer_list<std::pair<int32_t, int32_t>> offsets) {
        pixel_set out;
        for (auto [dx, dy] : offsets)
            for (int sx : {-1, 1})
                for (int sy : {-1, 1}) out.insert({cx + sx * dx, cy + sy * dy});
        return out;
    }
};

// Circles, ellipses and arcs on a 33 x 27 image, worked out from the walk's rules.
const char* const circle_shapes =
#include "draw/golden/circle_shapes.inc"
    ;

using CircleRaster = RasterTest;

}  // namespace

TEST_F(CircleRaster, CirclesEllipsesAndArcs) {
    img_struct* im = canvas(33, 27);
    sub_circle(16, 13, 12, 1, 0, 0, 0, 2);
    sub_circle(16, 13, 8, 2, 0, 0, 0.5, 2 | 16);
    sub_circle(16, 13, 8, 3, 0, 0, 2, 2 | 16);
    sub_circle(16, 13, 5, 4, 0.5, 2.5, 0, 2 | 4 | 8);
    sub_circle(16, 13, 3, 5, 5.5, 0.8, 0, 2 | 4 | 8);  // inverted: through angle 0
    EXPECT_EQ(dump(im), golden(circle_shapes));
}

TEST_F(CircleTest, RadiusThreeLightsSixteenPixels) {
    img_struct* im = page(12);
    circle(100, 100, 3);
    EXPECT_EQ(lit_pixels(im), around(100, 100, {{3, 0}, {3, 1}, {2, 2}, {1, 3}, {0, 3}}));
    EXPECT_EQ(im->draw_color, 15u);
    EXPECT_EQ(im->graphics.x, 100.0f);
}

TEST_F(CircleTest, MirroredExtremesAreWrittenTwice) {
    img_struct* im = image32();
    circle(100, 100, 3, 0x80FFFFFF, 2);
    for (auto [x, y] : around(100, 100, {{3, 1}, {2, 2}, {1, 3}}))
        EXPECT_EQ(pixel32(im, x, y), 0xFF7F7F7Fu) << x << "," << y;
    for (auto [x, y] : around(100, 100, {{3, 0}, {0, 3}}))
        EXPECT_EQ(pixel32(im, x, y), 0xFFBEBEBEu) << x << "," << y;
    EXPECT_EQ(pixel32(im, 100, 100), 0xFF000000u);
}

TEST_F(CircleTest, RadiusZeroWritesTheCentreEightTimes) {
    img_struct* im = image32();
    circle(100, 100, 0, 0x80FFFFFF, 2);
    EXPECT_EQ(pixel32(im, 100, 100), 0xFFFDFDFDu);
    EXPECT_EQ(pixel32(im, 101, 100), 0xFF000000u);
    EXPECT_EQ(pixel32(im, 100, 99), 0xFF000000u);
}

TEST_F(CircleTest, ExtentsCentreRoundingAndAspect) {
    struct {
        int32_t mode;
        double x, y, r;
        box want;
    } cases[] = {
        {12, 100, 100, 10, {90, 90, 110, 110}},
        {12, 102.5, 102.5, 10, {93, 93, 113, 113}},  // halves away from zero
        {12, -0.5, 50, 4, {-5, 46, 3, 54}},  // clipped at x 0, centre at -1
        {13, 160, 100, 60, {100, 50, 220, 150}},  // default aspect 5 / 6
        {2, 300, 100, 60, {240, 75, 360, 125}},  // default aspect 5 / 12
    };
    for (const auto& c : cases) {
        img_struct* im = page(c.mode);
        circle(c.x, c.y, c.r);
        box got = extent(lit_pixels(im));
        box want = c.want;
        want.x1 = std::max(want.x1, 0);
        EXPECT_EQ(got, want) << c.mode << " " << c.x << " " << c.r << ": " << got.x1 << "," << got.y1 << "-"
                             << got.x2 << "," << got.y2;
    }
}

TEST_F(CircleTest, GivenAspects) {
    struct {
        double aspect;
        box want;
    } cases[] = {
        {0.5, {80, 90, 120, 110}},
        {2, {90, 80, 110, 120}},
        {-0.5, {80, 90, 120, 110}},  // (1 + a) times the vertical radius
        {-3, {80, 80, 120, 120}},    // a <= -1 changes nothing
    };
    for (const auto& c : cases) {
        img_struct* im = page(12);
        sub_circle(100, 100, 20, 0, 0, 0, c.aspect, 16);
        box got = extent(lit_pixels(im));
        EXPECT_EQ(got, c.want) << c.aspect << ": " << got.x1 << "," << got.y1 << "-" << got.x2 << "," << got.y2;
    }
}

TEST_F(CircleTest, QuarterPieWithRadiusLines) {
    img_struct* im = page(12);
    arc(100, 100, 20, -0.0001, -1.5708);
    pixel_set lit = lit_pixels(im);
    // The held point (1, -20) is tested with the angles of the newest point (0, -20),
    // so the arc's last step reaches one pixel past the quarter.
    for (auto [x, y] : lit) EXPECT_TRUE((x >= 100 && y <= 100) || (x == 99 && y == 80)) << x << "," << y;
    EXPECT_TRUE(lit.count({99, 80}));
    for (int x = 100; x <= 120; x++) EXPECT_TRUE(lit.count({x, 100})) << x;
    for (int y = 81; y <= 100; y++) EXPECT_TRUE(lit.count({100, y})) << y;
    EXPECT_TRUE(lit.count({100, 80}));  // the arc's top
}

TEST_F(CircleTest, InvertedArcRunsThroughZero) {
    img_struct* im = page(12);
    arc(100, 100, 20, 4.71238898038469, 1.5707963267948966);
    pixel_set lit = lit_pixels(im);
    for (auto [x, y] : lit) EXPECT_TRUE(x >= 100 || (x == 99 && (y == 80 || y == 120))) << x << "," << y;
    EXPECT_TRUE(lit.count({120, 100}));
    EXPECT_FALSE(lit.count({80, 100}));
    EXPECT_TRUE(lit.count({100, 80}));
    EXPECT_TRUE(lit.count({100, 120}));
}

TEST_F(CircleTest, NegativeZeroAsksForNoLine) {
    img_struct* im = page(12);
    arc(100, 100, 20, -0.0, 1.5707963267948966);
    pixel_set lit = lit_pixels(im);
    EXPECT_FALSE(lit.count({110, 100}));
    EXPECT_TRUE(lit.count({120, 100}));
}

TEST_F(CircleTest, AnglesAboveTwoPiRaiseError5AndKeepTheCursor) {
    img_struct* im = page(12);
    im->graphics.x = 7;
    sub_circle(100, 100, 20, 0, 0, 7, 0, 8);
    EXPECT_EQ(take_error(), 5);
    sub_circle(100, 100, 20, 0, -6.3, 1, 0, 4 | 8);
    EXPECT_EQ(take_error(), 5);
    EXPECT_EQ(im->graphics.x, 7.0f);
    EXPECT_TRUE(lit_pixels(im).empty());
    screen(0);
    circle(1, 1, 1);
    EXPECT_EQ(take_error(), 5);
}

TEST_F(CircleTest, WhollyOutsideTheViewDrawsNothingButMovesTheCursor) {
    img_struct* im = page(12);
    zvg_sub_view(10, 10, 50, 50, 0, 0, 1 | 2);
    im->draw_color = 3;
    circle(100, 100, 20, 9, 2);
    EXPECT_TRUE(lit_pixels(im).empty());
    EXPECT_EQ(im->draw_color, 3u);
    EXPECT_EQ(im->graphics.x, 100.0f);
    circle(60, 30, 20, 9, 2);  // crosses the VIEW edge: clipped
    pixel_set lit = lit_pixels(im);
    EXPECT_FALSE(lit.empty());
    for (auto [x, y] : lit) EXPECT_TRUE(x >= 10 && x <= 50 && y >= 10 && y <= 50);
    EXPECT_EQ(im->draw_color, 9u);
}

TEST_F(CircleTest, StepAndWindowMapping) {
    img_struct* im = page(12);
    im->graphics.x = 90;
    im->graphics.y = 95;
    circle(10, 5, 3, 0, 1);
    EXPECT_EQ(lit_pixels(im), around(100, 100, {{3, 0}, {3, 1}, {2, 2}, {1, 3}, {0, 3}}));
    EXPECT_EQ(im->graphics.x, 100.0f);
    page(12);
    zvg_sub_window(0, 0, 639, 479, 1 | 2);
    zvg_sub_view(200, 200, 300, 300, 0, 0, 1);
    circle(0, 0, 3, 0, 0);  // WINDOW SCREEN with a VIEW: centre on the VIEW origin
    EXPECT_EQ(extent(lit_pixels(write_page())), (box{200, 200, 203, 203}));
}

TEST_F(CircleTest, NonNumbersDrawNothing) {
    img_struct* im = page(12);
    double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    circle(100, 100, nan);
    circle(nan, 100, 5);
    circle(100, 100, inf);
    circle(1e300, 100, 5);
    circle(-3e9, 100, 5);
    EXPECT_TRUE(lit_pixels(im).empty());
    EXPECT_EQ(new_error, 0);
}
