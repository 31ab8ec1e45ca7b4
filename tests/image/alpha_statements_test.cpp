// _BLEND, _DONTBLEND, _CLEARCOLOR and _SETALPHA on every kind of image.
#include "image/alpha_statements.h"
#include "image/image_fixture.h"
#include "image/image_properties.h"
#include "image/image_statements.h"

using AlphaStatements = ImageTest;

namespace {

constexpr int32_t NONE = 1, COLOUR = 2, HANDLE = 4;

}  // namespace

TEST_F(AlphaStatements, BlendSwitchesOnlyApplyTo32BitAndHardwareImages) {
    screen(12);
    sub__blend(0, 0);
    EXPECT_EQ(take_error(), 5);
    sub__dontblend(0, 0);
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(write_page()->blend_off, 0);

    int32_t h = func__newimage(2, 2, 32, 1);
    sub__dontblend(h, 1);
    EXPECT_EQ(img_get(-h)->blend_off, 1);
    sub__blend(h, 1);
    EXPECT_EQ(img_get(-h)->blend_off, 0);

    int32_t hw = func__copyimage(h, 33, 3);
    sub__dontblend(hw, 1);
    EXPECT_EQ(get_hardware_img(hw)->alpha_disabled, 1);
    sub__blend(hw, 1);
    EXPECT_EQ(get_hardware_img(hw)->alpha_disabled, 0);
    EXPECT_EQ(take_error(), 0);
    sub__freeimage(hw, 1);
    sub__blend(hw, 1);
    EXPECT_EQ(take_error(), 258);
    sub__dontblend(-1, 1);
    EXPECT_EQ(take_error(), 258);
}

TEST_F(AlphaStatements, ClearColorOnTextAndPaletteImages) {
    screen(0);
    sub__clearcolor(0, 0, NONE);
    EXPECT_EQ(take_error(), 0);
    sub__clearcolor(5, 0, COLOUR);
    EXPECT_EQ(take_error(), 5);

    int32_t h = func__newimage(4, 4, 256, 1);
    const struct {
        uint32_t colour;
        int32_t passed, error, result;
    } steps[] = {
        {300, COLOUR, 5, -1}, {7, COLOUR, 0, 7}, {9, NONE | COLOUR, 5, 7}, {0, 0, 5, 7},
        {255, COLOUR, 0, 255}, {0, NONE, 0, -1},
    };
    for (const auto& s : steps) {
        sub__clearcolor(s.colour, h, s.passed | HANDLE);
        EXPECT_EQ(take_error(), s.error) << s.colour;
        EXPECT_EQ(func__clearcolor(h, 1), s.result) << s.colour;
    }
}

TEST_F(AlphaStatements, ClearColorMakesMatching32BitPixelsTransparent) {
    screen(12);
    int32_t h = func__newimage(3, 1, 32, 1);
    img_struct* im = img_get(-h);
    set_pixel32(im, 0, 0, 0xFF00FF00);
    set_pixel32(im, 1, 0, 0x1200FF00);
    set_pixel32(im, 2, 0, 0xFF00FF01);
    sub__clearcolor(0xFF00FF00, h, COLOUR | HANDLE);
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(pixel32(im, 0, 0), 0x0000FF00u);
    EXPECT_EQ(pixel32(im, 1, 0), 0x0000FF00u);
    EXPECT_EQ(pixel32(im, 2, 0), 0xFF00FF01u);
    EXPECT_EQ(func__clearcolor(h, 1), 0);
    sub__clearcolor(0, h, NONE | HANDLE);
    EXPECT_EQ(take_error(), 0);
    sub__clearcolor(0, h, NONE | COLOUR | HANDLE);
    EXPECT_EQ(take_error(), 5);
}

TEST_F(AlphaStatements, SetAlphaByRangeExactColourOrEverything) {
    screen(12);
    int32_t h = func__newimage(4, 1, 32, 1);
    img_struct* im = img_get(-h);
    const uint32_t start[4] = {0xFF050505, 0xFF111111, 0x80000000, 0xFF000000};
    auto reset = [&] {
        for (int x = 0; x < 4; x++) set_pixel32(im, x, 0, start[x]);
    };
    const struct {
        int32_t alpha;
        uint32_t c1, c2;
        int32_t passed;
        uint32_t expect[4];
    } cases[] = {
        {0, 0xFF000000, 0xFF101010, 1 | 4 | 2, {0x00050505, 0xFF111111, 0x80000000, 0x00000000}},
        {0, 0xFF101010, 0xFF000000, 1 | 4 | 2, {0x00050505, 0xFF111111, 0x80000000, 0x00000000}},
        {0x40, 0xFF111111, 0, 1 | 2, {0xFF050505, 0x40111111, 0x80000000, 0xFF000000}},
        {0x40, 0xFF111111, 0xFF111111, 1 | 4 | 2, {0xFF050505, 0x40111111, 0x80000000, 0xFF000000}},
        {0x7F, 0, 0, 2, {0x7F050505, 0x7F111111, 0x7F000000, 0x7F000000}},
    };
    for (const auto& c : cases) {
        reset();
        sub__setalpha(c.alpha, c.c1, c.c2, h, c.passed);
        EXPECT_EQ(take_error(), 0);
        for (int x = 0; x < 4; x++) EXPECT_EQ(pixel32(im, x, 0), c.expect[x]) << x;
    }

    reset();
    for (int32_t bad : {256, -1}) {
        sub__setalpha(bad, 0, 0, h, 2);
        EXPECT_EQ(take_error(), 5);
    }
    sub__setalpha(0, 0, 0, 0, 0);  // the SCREEN 12 page
    EXPECT_EQ(take_error(), 5);
    for (int x = 0; x < 4; x++) EXPECT_EQ(pixel32(im, x, 0), start[x]);
}
