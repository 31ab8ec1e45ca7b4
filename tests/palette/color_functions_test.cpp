// _RGB and its family, the nearest-colour search and the HSB colour functions.
#include <cmath>
#include <limits>

#include "image/alpha_statements.h"
#include "image/image_fixture.h"
#include "image/image_statements.h"
#include "palette/color_functions.h"

using ColorFunctions = ImageTest;

TEST_F(ColorFunctions, RgbAndRgbaPerImageKind) {
    screen(12);
    int32_t h32 = func__newimage(2, 2, 32, 1);
    int32_t h8 = func__newimage(2, 2, 256, 1);
    int32_t h13 = -imgnew(2, 2, 13);
    EXPECT_EQ(func__rgb(255, 0, 0, 0, 0), 4u);  // entry 4 is 85 away, entry 12 170
    EXPECT_EQ(func__rgb(255, 85, 85, 0, 0), 12u);
    EXPECT_EQ(func__rgb(300, -5, 0, h32, 1), 0xFFFF0000u);
    EXPECT_EQ(func__rgb(0, 0, 0, h13, 1), 0u);
    EXPECT_EQ(func__rgba(1, 2, 3, 300, h32, 1), 0xFF010203u);
    EXPECT_EQ(func__rgba(1, 2, 3, 0x40, h32, 1), 0x40010203u);
    EXPECT_EQ(func__rgba(0, 0, 0, 0, h8, 1), 0u);
    sub__clearcolor(5, h8, 2 | 4);
    EXPECT_EQ(func__rgba(0, 0, 0, 0, h8, 1), 5u);
    EXPECT_EQ(func__rgba(0, 0, 0, 1, h8, 1), 0u);
    EXPECT_EQ(func__rgb(1, 1, 1, -99, 1), 0u);
    EXPECT_EQ(take_error(), 258);
}

TEST_F(ColorFunctions, NearestColourTakesTheLowestIndexAndTextUsesSixteen) {
    screen(0);
    img_struct* im = write_page();
    im->palette[3] = 0x000010;
    im->palette[5] = 0x000010;
    EXPECT_EQ(matchcol(0, 0, 16), 3);
    EXPECT_EQ(matchcol(0, 0, 17), 3);
    im->palette[20] = 0x123456;  // beyond a text image's 16 attributes
    EXPECT_EQ(matchcol(0x12, 0x34, 0x56), 8);
}

TEST_F(ColorFunctions, AlphaAndChannelsOfPaletteAnd32BitColours) {
    screen(12);
    int32_t h32 = func__newimage(2, 2, 32, 1);
    int32_t h8 = func__newimage(2, 2, 256, 1);
    sub__clearcolor(3, h8, 2 | 4);
    EXPECT_EQ(func__alpha(0x80123456, h32, 1), 0x80);
    EXPECT_EQ(func__red(0x80123456, h32, 1), 0x12);
    EXPECT_EQ(func__green(0x80123456, h32, 1), 0x34);
    EXPECT_EQ(func__blue(0x80123456, h32, 1), 0x56);
    EXPECT_EQ(func__alpha(3, h8, 1), 0);
    EXPECT_EQ(func__alpha(4, h8, 1), 255);
    EXPECT_EQ(func__red(12, 0, 0), 0xFF);
    EXPECT_EQ(func__green(2, 0, 0), 0xAA);
    EXPECT_EQ(func__blue(9, h8, 1), 0xFF);
    EXPECT_EQ(take_error(), 0);

    const struct {
        int32_t (*f)(uint32_t, int32_t, int32_t);
        uint32_t colour;
        int32_t handle, passed;
    } refusals[] = {{func__red, 256, h8, 1}, {func__alpha, 256, h8, 1}, {func__green, 16, 0, 0}, {func__alpha, 16, 0, 0}};
    for (const auto& r : refusals) {
        EXPECT_EQ(r.f(r.colour, r.handle, r.passed), 0);
        EXPECT_EQ(take_error(), 5) << r.colour;
    }
}

TEST_F(ColorFunctions, HsbColours) {
    const struct {
        double h, s, b, a;
        uint32_t expect;
    } colours[] = {
        {0, 100, 100, -1, 0xFFFF0000},   {120, 100, 50, -1, 0xFF008000}, {240, 100, 100, -1, 0xFF0000FF},
        {400, -5, 100, -1, 0xFFFFFFFF},  {360, 100, 100, -1, 0xFFFF0000}, {300, 100, 100, -1, 0xFFFF00FF},
        {30, 50, 100, -1, 0xFFFFBF80},   {0, 0, 50, -1, 0xFF808080},     {0, 100, 100, 50, 0x80FF0000},
        {0, 100, 100, 200, 0xFFFF0000},
    };
    for (const auto& c : colours) {
        uint32_t got = c.a < 0 ? func__hsb32(c.h, c.s, c.b) : func__hsba32(c.h, c.s, c.b, c.a);
        EXPECT_EQ(got, c.expect) << c.h << " " << c.s << " " << c.b << " " << c.a;
    }
    EXPECT_EQ(func__hue32(0xFF0000FF), 240);
    EXPECT_EQ(func__hue32(0xFFFF00FF), 300);
    EXPECT_EQ(func__hue32(0xFF00FF00), 120);
    EXPECT_EQ(func__hue32(0xFF000000), 0);
    EXPECT_EQ(func__sat32(0xFF808080), 0);
    EXPECT_EQ(func__sat32(0xFFFF8080), (255.0 - 128.0) / 255.0 * 100);
    EXPECT_EQ(func__bri32(0xFFFFFFFF), 100);
    EXPECT_EQ(func__bri32(0x00000000), 0);

    double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(func__hsb32(nan, nan, nan), 0xFF000000u);
}

TEST_F(ColorFunctions, ConversionRoutines) {
    rgb_color out{0.25, 0.5, 0.75};
    hsb_color outside{720, 1, 1};
    hsb2rgb(&outside, &out);
    EXPECT_EQ(out.r, 0.25);  // sector outside 0-5: unchanged
    hsb_color yellow{60, 1, 1};
    hsb2rgb(&yellow, &out);
    EXPECT_EQ(out.r, 1);
    EXPECT_EQ(out.g, 1);
    EXPECT_EQ(out.b, 0);
    hsb_color back{};
    rgb2hsb(&out, &back);
    EXPECT_EQ(back.h, 60);
    EXPECT_EQ(back.s, 1);
    EXPECT_EQ(back.b, 1);
    rgb_color black{0, 0, 0};
    hsb_color result{5, 5, 5};
    rgb2hsb(&black, &result);
    EXPECT_EQ(result.h, 0);
    EXPECT_EQ(result.s, 0);
    EXPECT_EQ(result.b, 0);
}
