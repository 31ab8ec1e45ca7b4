// Graphics coordinates: rounding, the WINDOW and VIEW map, PMAP, the VIEW border,
// VIEW SCREEN under a WINDOW, and lineclip.
#include <cmath>
#include <limits>
#include <string>

#include "draw/circle.h"
#include "draw/coordinates.h"
#include "draw/draw_statement.h"
#include "draw/lineclip.h"
#include "draw/line.h"
#include "draw/paint.h"
#include "draw/point.h"
#include "draw/putimage.h"
#include "string/zvs.h"
#include "image/image_fixture.h"
#include "image/image_statements.h"

namespace {

class Coordinates : public ImageTest {
protected:
    void SetUp() override {
        ImageTest::SetUp();
        screen(12);
    }
    // The pixel a program point lands on, or (-1, -1) when it is outside the VIEW.
    static std::pair<int32_t, int32_t> pixel_of(float x, float y) {
        const img_graphics_state& g = write_page()->graphics;
        int32_t px = map_x(g, x), py = map_y(g, y);
        if (!in_view(g, px, py)) return {-1, -1};
        return {px, py};
    }
    static void window(float x1, float y1, float x2, float y2, bool screen = false) {
        zvg_sub_window(x1, y1, x2, y2, 1 | (screen ? 2 : 0));
    }
    static void view(int32_t x1, int32_t y1, int32_t x2, int32_t y2, bool screen = false) {
        zvg_sub_view(x1, y1, x2, y2, 0, 0, 1 | (screen ? 2 : 0));
    }
    static bool same_state(const img_graphics_state& a, const img_graphics_state& b) {
        return memcmp(&a, &b, sizeof a) == 0;
    }
};

using P = std::pair<int32_t, int32_t>;

}  // namespace

TEST(Rounding, TiesToEvenAndOutOfRange) {
    EXPECT_EQ(round_float_to_int32(2.5f), 2);
    EXPECT_EQ(round_float_to_int32(3.5f), 4);
    EXPECT_EQ(round_float_to_int32(-0.5f), 0);
    EXPECT_EQ(round_float_to_int32(-1.5f), -2);
    EXPECT_EQ(round_float_to_int32(2147483520.0f), 2147483520);
    EXPECT_EQ(round_float_to_int32(-2147483648.0f), INT32_MIN);
    EXPECT_EQ(round_float_to_int32(2147483648.0f), INT32_MIN);
    EXPECT_EQ(round_float_to_int32(1e30f), INT32_MIN);
    EXPECT_EQ(round_float_to_int32(std::numeric_limits<float>::quiet_NaN()), INT32_MIN);
    EXPECT_EQ(round_float_to_int32(-std::numeric_limits<float>::infinity()), INT32_MIN);
    EXPECT_EQ(round_double_to_int32(2.5), 2);
    EXPECT_EQ(round_double_to_int32(2147483647.4), 2147483647);
    EXPECT_EQ(round_double_to_int32(2147483647.5), INT32_MIN);
    EXPECT_EQ(round_double_to_int32(-2147483648.5), INT32_MIN);  // ties to even: -2147483648
    EXPECT_EQ(round_double_to_int32(-2147483649.0), INT32_MIN);
    EXPECT_EQ(round_double_to_int32(1e300), INT32_MIN);
    EXPECT_EQ(round_double_to_int32(std::nan("")), INT32_MIN);
    EXPECT_EQ(round_half_away_to_int32(1.5f), 2);
    EXPECT_EQ(round_half_away_to_int32(2.5f), 3);
    EXPECT_EQ(round_half_away_to_int32(-2.5f), -3);
    EXPECT_EQ(round_half_away_to_int32(2.4999998f), 2);
}

// The single-precision form agrees with the double one from 0.5 up: every float in
// [0.5, 4) (where the sum leaves its binade) and a band of floats around every half
// and every integer up to 4096.
TEST(Rounding, HalfAwayInSinglePrecisionFromHalfUp) {
    int mismatches = 0;
    auto check = [&](float v) {
        if (round_half_away_from_half_up(v) != round_half_away_to_int32(v) && ++mismatches < 5)
            ADD_FAILURE() << "v = " << v;
    };
    for (float v = 0.5f; v < 4.0f; v = std::nextafter(v, 8.0f)) check(v);
    for (int k = 2; k < 8192; k++) {
        float v = static_cast<float>(k) * 0.5f;
        for (int i = 0; i < 256; i++) v = std::nextafter(v, 0.0f);
        for (int i = 0; i < 512; i++, v = std::nextafter(v, 1e9f)) check(v);
    }
    EXPECT_EQ(mismatches, 0);
}

TEST_F(Coordinates, PointMapping) {
    const struct {
        const char* setup;
        float x, y;
        P pixel;
    } cases[] = {
        {"", 2.5f, 0, {2, 0}},
        {"", 3.5f, 0, {4, 0}},
        {"", -0.5f, 0, {0, 0}},
        {"", 1e30f, 0, {-1, -1}},
        {"W", 0, 0, {0, 479}},
        {"W", 10, 10, {639, 0}},
        {"WS", 0, 0, {0, 0}},
        {"WS", 10, 10, {639, 479}},
        {"VW", 0, 0, {100, 199}},
        {"VW", 10, 10, {199, 100}},
        {"WV", 0, 0, {100, 199}},
        {"WV", 10, 10, {199, 100}},
        {"VS", 5, 5, {-1, -1}},
        {"VS", 150, 150, {150, 150}},
        {"V", 5, 5, {105, 105}},
        {"V", 100, 5, {-1, -1}},
        {"VWv", 10, 10, {639, 0}},
        // Under a WINDOW, VIEW SCREEN places the WINDOW on its rectangle as VIEW does.
        {"VSW", 0, 0, {100, 199}},
        {"VSW", 10, 10, {199, 100}},
        {"WVS", 0, 0, {100, 199}},
        {"WVS", 10, 10, {199, 100}},
        {"WVS", 11, 5, {-1, -1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.setup << " (" << c.x << ", " << c.y << ")");
        screen(13);
        screen(12);
        for (const char* s = c.setup; *s; s++) {
            switch (*s) {
                case 'W':
                    window(0, 0, 10, 10, s[1] == 'S');
                    if (s[1] == 'S') s++;
                    break;
                case 'V':
                    view(100, 100, 199, 199, s[1] == 'S');
                    if (s[1] == 'S') s++;
                    break;
                case 'v':
                    zvg_sub_view(0, 0, 0, 0, 0, 0, 0);
                    break;
            }
        }
        ASSERT_EQ(take_error(), 0);
        EXPECT_EQ(pixel_of(c.x, c.y), c.pixel);
        if (c.setup[0] && c.setup[strlen(c.setup) - 1] == 'v') {
            EXPECT_EQ(write_page()->graphics.clipping_or_scaling, 2);
        }
    }
}

TEST_F(Coordinates, ModeBookkeeping) {
    img_graphics_state& g = write_page()->graphics;
    window(0, 0, 639, 479, true);  // the identity window is no window
    EXPECT_EQ(g.clipping_or_scaling, 0);
    EXPECT_EQ(g.scaling_x, 1);
    view(10, 10, 20, 20);
    EXPECT_EQ(g.clipping_or_scaling, 1);
    window(0, 0, 1, 1);
    EXPECT_EQ(g.clipping_or_scaling, 2);
    zvg_sub_window(0, 0, 0, 0, 0);  // WINDOW alone with a VIEW in force
    EXPECT_EQ(g.clipping_or_scaling, 1);
    EXPECT_EQ(g.window_x2, 639);
    zvg_sub_view(0, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(g.clipping_or_scaling, 0);
    EXPECT_EQ(g.view_x2, 639);
    EXPECT_EQ(g.view_offset_x, 0);
    g.draw_angle = 30;
    g.draw_scale = 2;
    view(1, 1, 2, 2);
    EXPECT_EQ(g.draw_angle, 0);
    EXPECT_EQ(g.draw_scale, 1);
    EXPECT_EQ(take_error(), 0);
}

TEST_F(Coordinates, CursorKeepsItsPixelAcrossWindow) {
    sub_line(100, 100, 100, 100, 1, 0, 0, 1 | 8);
    window(0, 0, 10, 10);
    const img_graphics_state& g = write_page()->graphics;
    EXPECT_EQ(round_float_to_int32(g.x * g.scaling_x + g.scaling_offset_x), 100);
    EXPECT_EQ(round_float_to_int32(g.y * g.scaling_y + g.scaling_offset_y), 100);
    zvg_sub_window(0, 0, 0, 0, 0);
    EXPECT_EQ(g.x, 100);
    EXPECT_EQ(g.y, 100);
}

TEST_F(Coordinates, Pmap) {
    view(100, 100, 199, 199);
    window(0, 0, 10, 10);
    EXPECT_EQ(func_pmap(10, 0), 99);  // relative to the VIEW origin
    EXPECT_EQ(func_pmap(0, 1), 99);
    EXPECT_EQ(func_pmap(10, 1), 0);
    EXPECT_FLOAT_EQ(func_pmap(99, 2), 10);
    EXPECT_FLOAT_EQ(func_pmap(0, 3), 10);
    EXPECT_EQ(func_pmap(1, 4), 0);
    EXPECT_EQ(take_error(), 5);
    screen(0);
    EXPECT_EQ(func_pmap(1, 0), 0);
    EXPECT_EQ(take_error(), 5);
}

TEST_F(Coordinates, ErrorsLeaveTheStateAlone) {
    view(10, 10, 50, 50);
    window(0, 0, 5, 5);
    const struct {
        void (*call)();
        int32_t error;
    } cases[] = {
        {[] { zvg_sub_window(0, 0, 0, 0, 2); }, 5},            // SCREEN without a rectangle
        {[] { zvg_sub_window(1, 1, 1, 5, 1); }, 5},            // equal x
        {[] { zvg_sub_window(1, 2, 4, 2, 1 | 2); }, 5},        // equal y
        {[] { zvg_sub_view(0, 0, 640, 10, 0, 0, 1); }, 5},     // corner outside
        {[] { zvg_sub_view(0, -1, 10, 10, 0, 0, 1); }, 5},
        {[] { zvg_sub_view(0, 0, 0, 0, 3, 0, 4); }, 5},        // a colour without a rectangle
        {[] { zvg_sub_view(0, 0, 0, 0, 0, 0, 2); }, 5},
    };
    img_graphics_state before = write_page()->graphics;
    for (const auto& c : cases) {
        c.call();
        EXPECT_EQ(take_error(), c.error);
        EXPECT_TRUE(same_state(before, write_page()->graphics));
    }
    // Text images: no WINDOW, no VIEW colours; a plain VIEW is accepted.
    screen(0);
    before = write_page()->graphics;
    uint8_t cells[64];
    memcpy(cells, write_page()->pixels, sizeof cells);
    zvg_sub_window(0, 0, 1, 1, 1);
    EXPECT_EQ(take_error(), 5);
    zvg_sub_view(0, 0, 9, 9, 1, 0, 1 | 4);
    EXPECT_EQ(take_error(), 5);
    zvg_sub_view(0, 0, 9, 9, 0, 1, 1 | 8);
    EXPECT_EQ(take_error(), 5);
    EXPECT_TRUE(same_state(before, write_page()->graphics));
    EXPECT_EQ(memcmp(cells, write_page()->pixels, sizeof cells), 0);
    zvg_sub_view(0, 0, 9, 9, 0, 0, 1);
    EXPECT_EQ(take_error(), 0);
}

TEST_F(Coordinates, ViewFillAndBorderOnA32BitImage) {
    int32_t h = func__newimage(40, 40, 32, 1);
    sub__dest(h);
    img_struct* im = write_page();
    for (int32_t y = 0; y < 40; y++)
        for (int32_t x = 0; x < 40; x++) set_pixel32(im, x, y, 0xFF000000);
    zvg_sub_view(10, 10, 19, 19, 0xFF00FF00, 0x80FFFFFF, 1 | 4 | 8);
    ASSERT_EQ(take_error(), 0);
    for (int32_t y = 0; y < 40; y++)
        for (int32_t x = 0; x < 40; x++) {
            bool inside = x >= 10 && x <= 19 && y >= 10 && y <= 19;
            bool frame = !inside && x >= 9 && x <= 20 && y >= 9 && y <= 20;
            uint32_t expected = inside ? 0xFF00FF00 : !frame ? 0xFF000000 : x == 9 && y == 9 ? 0xFFBEBEBE : 0xFF7F7F7F;
            ASSERT_EQ(pixel32(im, x, y), expected) << x << "," << y;
        }
    // A VIEW at the image's corner writes no row -1 and no column -1.
    screen(13);
    zvg_sub_view(0, 0, 9, 9, 0, 4, 1 | 8);
    const uint8_t* p = write_page()->pixels;
    EXPECT_EQ(p[10 * 320 + 10], 4);
    EXPECT_EQ(p[10 * 320 + 0], 4);
    EXPECT_EQ(p[0 * 320 + 10], 4);
    EXPECT_EQ(p[0], 0);
    EXPECT_EQ(cmem[0xA0000 - 1], 0);
}

namespace {

// WINDOW (0, 0)-(10, 10), then VIEW SCREEN (300, 100)-(399, 199), 3, 4 on the
// SCREEN 12 page, then PSET (5, 5), 15, LINE (0, 0)-(10, 10), 1 and
// CIRCLE (5, 5), 3, 14; columns 298 to 401 of rows 98 to 201, every other pixel 0.
const char* const view_screen_window =
#include "draw/golden/view_screen_window.inc"
    ;

// The pixels of a palette page as text ('.' for 0, a hex digit per colour).
std::string dump_rows(const img_struct* im, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    std::string out;
    for (int32_t y = y1; y <= y2; y++) {
        for (int32_t x = x1; x <= x2; x++) {
            uint8_t v = im->pixels[static_cast<size_t>(y) * im->width + x];
            out += v == 0 ? '.' : v < 16 ? "0123456789ABCDEF"[v] : '#';
        }
        out += '\n';
    }
    return out;
}

int32_t count_lit_outside(const img_struct* im, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    int32_t n = 0;
    for (int32_t y = 0; y < im->height; y++)
        for (int32_t x = 0; x < im->width; x++)
            if ((x < x1 || x > x2 || y < y1 || y > y2) && im->pixels[static_cast<size_t>(y) * im->width + x]) n++;
    return n;
}

}  // namespace

TEST_F(Coordinates, ViewScreenUnderAWindowGolden) {
    window(0, 0, 10, 10);
    zvg_sub_view(300, 100, 399, 199, 3, 4, 1 | 2 | 4 | 8);
    ASSERT_EQ(take_error(), 0);
    const img_struct* im = write_page();
    // The fill is exactly the VIEW rectangle and the border the frame around it.
    for (int32_t y = 98; y <= 201; y++)
        for (int32_t x = 298; x <= 401; x++) {
            bool inside = x >= 300 && x <= 399 && y >= 100 && y <= 199;
            bool frame = !inside && x >= 299 && x <= 400 && y >= 99 && y <= 200;
            ASSERT_EQ(im->pixels[y * 640 + x], inside ? 3 : frame ? 4 : 0) << x << "," << y;
        }
    // The centre of the WINDOW is the centre of the VIEW (100 pixels: between 349
    // and 350, rounded ties to even).
    sub_pset(5, 5, 15, 2);
    EXPECT_EQ(im->pixels[150 * 640 + 350], 15);
    sub_line(0, 0, 10, 10, 1, 0, 0, 1 | 8);
    sub_circle(5, 5, 3, 14, 0, 0, 0, 2);
    ASSERT_EQ(take_error(), 0);
    EXPECT_EQ(dump_rows(im, 298, 98, 401, 201), std::string(view_screen_window + 1));
    EXPECT_EQ(count_lit_outside(im, 298, 98, 401, 201), 0);
}

// Every drawing statement under a WINDOW draws the same pixels whether the VIEW
// was set with or without SCREEN, in either order of VIEW and WINDOW.
TEST_F(Coordinates, ViewScreenUnderAWindowDrawsAsPlainView) {
    int32_t source = func__newimage(4, 3, 256, 1);
    img_get(-source)->pixels[0] = 9;
    auto picture = [&](bool view_screen, bool window_first) {
        screen(13);
        screen(12);
        if (window_first) window(-10, -5, 30, 15);
        zvg_sub_view(300, 100, 399, 199, 0, 0, 1 | (view_screen ? 2 : 0));
        if (!window_first) window(-10, -5, 30, 15);
        sub_pset(1.3f, 2.6f, 1, 2);
        sub_line(-10, -5, 30, 15, 2, 0, 0, 1 | 8);
        sub_line(-20, 0, 40, 1, 3, 0, 0, 1 | 8);  // clipped by the VIEW
        sub_line(20, 10, 25, 13, 4, 2, 0, 1 | 8);  // BF
        sub_line(0, 0, 8, 8, 5, 1, 0, 1 | 8);      // B
        sub_circle(10, 5, 6, 6, 0, 0, 0, 2);
        sub_circle(-8, 12, 4, 7, 0, 0, 0, 2);  // crosses the VIEW's corner
        sub_paint(10, 5, 8, 6, nullptr, 2 | 4);
        std::string commands = "BM-4,+1 C10 R30 D20 L9";
        zvs s{};
        s.text = reinterpret_cast<uint8_t*>(commands.data());
        s.length = static_cast<int32_t>(commands.size());
        sub_draw(&s);
        sub__putimage(26, 2, 28, 0, source, 0, 0, 0, 0, 0, 1 | 4 | 8);
        EXPECT_EQ(func_point(1.3f, 2.6f, 1), 1);
        EXPECT_EQ(take_error(), 0);
        return dump_rows(write_page(), 0, 0, 639, 479);
    };
    std::string plain = picture(false, false);
    EXPECT_EQ(count_lit_outside(write_page(), 299, 99, 400, 200), 0);
    EXPECT_EQ(picture(true, false), plain);
    EXPECT_EQ(picture(true, true), plain);
    EXPECT_EQ(picture(false, true), plain);
}

TEST(Lineclip, Table) {
    const struct {
        int32_t x1, y1, x2, y2;
        int32_t draw, cx1, cy1, cx2, cy2, skip;
    } cases[] = {
        {-10, 5, 700, 5, 1, 0, 5, 639, 5, 10},
        {5, -10, 5, 500, 1, 5, 0, 5, 479, 10},
        {700, 5, -10, 5, 1, 639, 5, 0, 5, 61},
        {-10, -10, -5, 400, 0, 0, 0, 0, 0, 0},
        {-10, 5, 5, -10, 0, 0, 0, 0, 0, 0},  // passes the corner
        {INT32_MIN, 0, 10, 0, 1, 0, 0, 10, 0, INT32_MIN},
        {3, 4, 3, 4, 1, 3, 4, 3, 4, 0},
        {-3, 4, -3, 4, 0, 0, 0, 0, 0, 0},
        {100, 100, 200, 150, 1, 100, 100, 200, 150, 0},
        {-20, -10, 20, 10, 1, 0, 0, 20, 10, 20},
        {INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN, 1, 479, 479, 0, 0, 2147483168},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x1 << "," << c.y1 << "-" << c.x2 << "," << c.y2);
        lineclip(c.x1, c.y1, c.x2, c.y2, 0, 0, 639, 479);
        EXPECT_EQ(lineclip_draw, c.draw);
        EXPECT_EQ(lineclip_skippixels, c.skip);
        if (c.draw) {
            EXPECT_EQ(lineclip_x1, c.cx1);
            EXPECT_EQ(lineclip_y1, c.cy1);
            EXPECT_EQ(lineclip_x2, c.cx2);
            EXPECT_EQ(lineclip_y2, c.cy2);
        }
    }
}
