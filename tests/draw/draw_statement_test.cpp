// DRAW: moves, prefixes, scale and rotation, absolute and relative M, the number
// reader, colours, PAINT, VARPTR$ references and substrings, and errors.
#include <cstring>
#include <string>

#include "draw/coordinates.h"
#include "draw/draw_statement.h"
#include "draw/lit_pixels.h"
#include "draw/paint.h"
#include "draw/point.h"
#include "image/image_fixture.h"
#include "image/image_statements.h"
#include "memory/cmem.h"

namespace {

class DrawTest : public ImageTest {
protected:
    void SetUp() override {
        ImageTest::SetUp();
        paint_reset_for_tests();
        memset(cmem, 0, static_cast<size_t>(cmem_size));
    }
    void TearDown() override {
        paint_reset_for_tests();
        ImageTest::TearDown();
    }
    static img_struct* page(int32_t mode) {
        screen(mode);
        img_struct* im = write_page();
        im->graphics.x = 100;
        im->graphics.y = 100;
        return im;
    }
    static void draw(const std::string& commands) {
        zvs s{};
        s.text = reinterpret_cast<uint8_t*>(const_cast<char*>(commands.data()));
        s.length = static_cast<int32_t>(commands.size());
        sub_draw(&s);
    }
    static pixel_set segment(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
        pixel_set out;
        for (int32_t y = std::min(y1, y2); y <= std::max(y1, y2); y++)
            for (int32_t x = std::min(x1, x2); x <= std::max(x1, x2); x++) out.insert({x, y});
        return out;
    }
    static pixel_set join(std::initializer_list<pixel_set> sets) {
        pixel_set out;
        for (const auto& s : sets) out.insert(s.begin(), s.end());
        return out;
    }
    // A VARPTR$ reference: '=' or 'X' handled by the caller, then type and offset.
    static std::string ref(uint8_t type, uint16_t offset) {
        return std::string{static_cast<char>(type), static_cast<char>(offset & 255), static_cast<char>(offset >> 8)};
    }
    // A string descriptor at `desc` (data-segment offsets) for text placed at `at`.
    static void put_string(uint16_t desc, uint16_t at, const std::string& text) {
        memcpy(cmem + dblock_linear + at, text.data(), text.size());
        uint8_t* d = cmem + dblock_linear + desc;
        d[0] = static_cast<uint8_t>(text.size());
        d[1] = static_cast<uint8_t>(text.size() >> 8);
        d[2] = static_cast<uint8_t>(at);
        d[3] = static_cast<uint8_t>(at >> 8);
    }
};

}  // namespace

TEST_F(DrawTest, ClosedSquareReturnsToItsStart) {
    img_struct* im = page(12);
    draw("R10D10L10U10");
    EXPECT_EQ(lit_pixels(im), join({segment(100, 100, 110, 100), segment(110, 100, 110, 110),
                                    segment(100, 110, 110, 110), segment(100, 100, 100, 110)}));
    EXPECT_EQ(func_point(2, 0, 0), 100.0);
    EXPECT_EQ(func_point(3, 0, 0), 100.0);
    EXPECT_EQ(new_error, 0);
}

TEST_F(DrawTest, PrefixesBAndN) {
    img_struct* im = page(12);
    draw("BM50,50 U20");
    EXPECT_EQ(lit_pixels(im), segment(50, 30, 50, 50));
    EXPECT_EQ(im->graphics.y, 30.0f);
    im = page(12);
    memset(im->pixels, 0, 640 * 480);
    draw("NU10 NR10 ND10 NL10");
    EXPECT_EQ(lit_pixels(im), join({segment(100, 90, 100, 110), segment(90, 100, 110, 100)}));
    EXPECT_EQ(im->graphics.x, 100.0f);
    EXPECT_EQ(im->graphics.y, 100.0f);
    memset(im->pixels, 0, 640 * 480);
    draw("B C3 R5");  // B persists across non-move commands
    EXPECT_TRUE(lit_pixels(im).empty());
    EXPECT_EQ(im->graphics.x, 105.0f);
}

TEST_F(DrawTest, AspectAndRotationOnScreen13) {
    img_struct* im = page(13);
    draw("TA90 U12");
    EXPECT_EQ(lit_pixels(im), segment(86, 100, 100, 100));
    EXPECT_EQ(func_point(2, 0, 0), static_cast<double>(85.6f));
    EXPECT_EQ(im->graphics.draw_angle, 90.0);
    memset(im->pixels, 0, 320 * 200);
    draw("BM100,100 A2 R3");  // turned 180 degrees: right goes left
    EXPECT_EQ(lit_pixels(im), segment(97, 100, 100, 100));
    EXPECT_EQ(im->graphics.draw_angle, 180.0);
}

TEST_F(DrawTest, ScaleKeepsFractionalPens) {
    img_struct* im = page(12);
    draw("S2 R5");
    EXPECT_EQ(lit_pixels(im), segment(100, 100, 102, 100));  // 102.5 ties to even
    draw("R5");
    EXPECT_EQ(lit_pixels(im), segment(100, 100, 105, 100));
    EXPECT_EQ(im->graphics.draw_scale, 0.5);
    im = page(12);
    memset(im->pixels, 0, 640 * 480);
    draw("S8 R5");
    EXPECT_EQ(lit_pixels(im), segment(100, 100, 110, 100));
}

TEST_F(DrawTest, RelativeAndAbsoluteM) {
    img_struct* im = page(12);
    draw("M+10,-5");
    EXPECT_EQ(im->graphics.x, 110.0f);
    EXPECT_EQ(im->graphics.y, 95.0f);
    EXPECT_TRUE(lit_pixels(im).count({110, 95}));
    zvg_sub_view(20, 20, 300, 300, 0, 0, 1);
    memset(im->pixels, 0, 640 * 480);
    im->graphics.x = 0;
    im->graphics.y = 0;
    draw("M10,-5");  // from pixel (20, 20) to pixel (10, -5), clipped to the VIEW
    EXPECT_EQ(lit_pixels(im), (pixel_set{{20, 20}}));
    EXPECT_EQ(im->graphics.x, -10.0f);
    EXPECT_EQ(im->graphics.y, -25.0f);
}

TEST_F(DrawTest, NumbersAsTheReaderTakesThem) {
    const struct {
        const char* commands;
        float x;
    } cases[] = {{"R--5", 105}, {"R.5", 100.5f}, {"R1 0", 110}, {"R.", 101}, {"R", 101}, {"R+-+3", 97}};
    for (const auto& c : cases) {
        img_struct* im = page(12);
        draw(c.commands);
        EXPECT_EQ(im->graphics.x, c.x) << c.commands;
        EXPECT_EQ(take_error(), 0) << c.commands;
    }
}

TEST_F(DrawTest, MalformedCommandsRaiseError5) {
    const char* cases[] = {"R5.", "R+", "C3.5", "A4", "Z", "TB", "T", "P1", "M10", "M", "M10,", "S-1", "C", "S",
                           "A", "TA", "P1,", "P1.5,2", "X\x03\x01"};
    for (const char* c : cases) {
        page(12);
        draw(c);
        EXPECT_EQ(take_error(), 5) << c;
    }
    page(12);
    draw(std::string("X\x02\x00\x01", 4));
    EXPECT_EQ(take_error(), 5);
}

TEST_F(DrawTest, AnErrorKeepsWhatWasDrawnButNotTheCursor) {
    img_struct* im = page(12);
    draw("C4 S8 R5 Z");
    EXPECT_EQ(take_error(), 5);
    EXPECT_EQ(lit_pixels(im), segment(100, 100, 110, 100));
    EXPECT_EQ(im->graphics.x, 100.0f);
    EXPECT_EQ(im->draw_color, 4u);
    EXPECT_EQ(im->graphics.draw_scale, 2.0);
    screen(0);
    draw("R5");
    EXPECT_EQ(take_error(), 5);
}

TEST_F(DrawTest, ColourAndPaint) {
    img_struct* im = page(12);
    draw("C2 BM10,10 R10 D10 L10 U10 BM15,15 P5,2");
    EXPECT_EQ(new_error, 0);
    EXPECT_EQ(im->pixels[10 * 640 + 10], 2);
    EXPECT_EQ(im->pixels[15 * 640 + 15], 5);
    EXPECT_EQ(im->pixels[19 * 640 + 11], 5);
    EXPECT_EQ(im->pixels[25 * 640 + 25], 0);
    draw("R2");  // the line colour became the fill colour
    EXPECT_EQ(im->pixels[15 * 640 + 17], 5);
    EXPECT_EQ(im->draw_color, 5u);
    EXPECT_EQ(im->graphics.x, 17.0f);
    draw("C4294967298 R1");  // low 32 bits
    EXPECT_EQ(im->draw_color, 2u);
}

TEST_F(DrawTest, WindowMapsThePenBothWays) {
    img_struct* im = page(12);
    zvg_sub_window(0, 0, 639, 479, 1 | 2);
    zvg_sub_view(100, 100, 300, 300, 0, 0, 1);
    im->graphics.x = 10;
    im->graphics.y = 10;
    draw("R5");
    EXPECT_EQ(lit_pixels(im), segment(110, 110, 115, 110));
    EXPECT_EQ(im->graphics.x, 15.0f);
    EXPECT_EQ(im->graphics.y, 10.0f);
}

TEST_F(DrawTest, ReferencesReadProgramVariables) {
    img_struct* im = page(12);
    int16_t seven = 7;
    memcpy(cmem + dblock_linear + 0x2000, &seven, 2);
    double half = 2.5;
    memcpy(cmem + dblock_linear + 0x2010, &half, 8);
    long double ext = 3;
    memcpy(cmem + dblock_linear + 0x2020, &ext, 10);
    int32_t minus = -4;
    memcpy(cmem + dblock_linear + 0x2030, &minus, 4);
    draw("U=" + ref(2, 0x2000));
    EXPECT_EQ(im->graphics.y, 93.0f);
    draw("R=" + ref(8, 0x2010) + "R=" + ref(6, 0x2020) + "R=" + ref(20, 0x2030));
    EXPECT_EQ(im->graphics.x, 101.5f);
    EXPECT_EQ(new_error, 0);
    draw("R=" + ref(7, 0x2000));
    EXPECT_EQ(take_error(), 5);
    draw("R5=" + ref(2, 0x2000));
    EXPECT_EQ(take_error(), 5);
    draw("R=\x02");
    EXPECT_EQ(take_error(), 5);
}

TEST_F(DrawTest, SubstringsRunAndResume) {
    img_struct* im = page(12);
    put_string(0x3000, 0x3100, "D5");
    draw("R5X" + ref(3, 0x3000) + "R5");
    EXPECT_EQ(im->graphics.x, 110.0f);
    EXPECT_EQ(im->graphics.y, 105.0f);
    // A long outer string resumes after the X near its end.
    std::string outer(70000, ' ');
    outer.replace(69990, 5, "X" + ref(3, 0x3000) + "L");
    page(12);
    draw(outer);
    EXPECT_EQ(new_error, 0);
    EXPECT_EQ(write_page()->graphics.x, 99.0f);
    EXPECT_EQ(write_page()->graphics.y, 105.0f);
}

TEST_F(DrawTest, SelfReferenceNestsUntilError6) {
    img_struct* im = page(12);
    put_string(0x4000, 0x4100, "R1X" + ref(3, 0x4000));
    draw("X" + ref(3, 0x4000));
    EXPECT_EQ(take_error(), 6);
    EXPECT_EQ(im->graphics.x, 100.0f);
    // 8,193 moves of one pixel were drawn before the error (the last X found 8,192
    // strings suspended), clipped at the right edge.
    EXPECT_EQ(lit_pixels(im), segment(100, 100, 639, 100));
}
