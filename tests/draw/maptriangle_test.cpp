// _MAPTRIANGLE and _DEPTHBUFFER: the software rasteriser pixel by pixel (coverage,
// sampling, wrap-around, clipping, the pixel writers), argument errors, and the
// commands queued for hardware images.
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "display/display_frame.h"
#include "draw/depthbuffer.h"
#include "draw/maptriangle.h"
#include "draw/raster_fixture.h"
#include "image/alpha_statements.h"

namespace {

constexpr int32_t SEAMLESS = 1, SRC = 2, Z1 = 4, Z2 = 8, Z3 = 16, DST = 32, Z_ALL = Z1 | Z2 | Z3;
constexpr uint32_t BLACK = 0xFF000000u;

uint32_t tag(int32_t x, int32_t y) { return 0xFF000000u | static_cast<uint32_t>(y) << 12 | static_cast<uint32_t>(x); }

struct tri {
    float x1, y1, x2, y2, x3, y3;
};

class MapTriangleTest : public RasterTest {
protected:
    void SetUp() override {
        RasterTest::SetUp();
        depthbuffer_reset_for_tests();
        screen(12);
    }

    static int32_t image32(int32_t w, int32_t h, const std::function<uint32_t(int32_t, int32_t)>& fill) {
        int32_t handle = func__newimage(w, h, 32, 1);
        img_struct* im = img_get(-handle);
        for (int32_t y = 0; y < h; y++)
            for (int32_t x = 0; x < w; x++) set_pixel32(im, x, y, fill(x, y));
        return handle;
    }
    static int32_t tagged(int32_t w, int32_t h) { return image32(w, h, tag); }
    static int32_t filled(int32_t w, int32_t h, uint32_t c) {
        return image32(w, h, [c](int32_t, int32_t) { return c; });
    }
    static img_struct* img(int32_t handle) { return img_get(-handle); }

    // Software triangle: source triangle s of source onto d of destination.
    static void map(int32_t source, tri s, int32_t destination, tri d, int32_t extra = 0) {
        sub__maptriangle(0, s.x1, s.y1, s.x2, s.y2, s.x3, s.y3, source, d.x1, d.y1, 0, d.x2, d.y2, 0, d.x3, d.y3, 0,
                         destination, 0, SRC | DST | extra);
    }

    static std::vector<uint32_t> pixels32(const img_struct* im) {
        std::vector<uint32_t> out;
        for (int32_t y = 0; y < im->height; y++)
            for (int32_t x = 0; x < im->width; x++) out.push_back(pixel32(im, x, y));
        return out;
    }

    static void expect_pixels(const img_struct* im, const std::function<uint32_t(int32_t, int32_t)>& want) {
        for (int32_t y = 0; y < im->height; y++)
            for (int32_t x = 0; x < im->width; x++)
                if (pixel32(im, x, y) != want(x, y)) {
                    ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex << pixel32(im, x, y)
                                  << ", want " << want(x, y);
                    return;
                }
    }
};

TEST_F(MapTriangleTest, IdentityMapCopiesTexelsAndDrawsTheSharedDiagonalTwice) {
    int32_t s = tagged(10, 10);
    int32_t d = filled(20, 20, BLACK);
    const tri upper{0, 0, 9, 0, 0, 9}, lower{9, 0, 9, 9, 0, 9};
    map(s, upper, d, upper);
    map(s, lower, d, lower);
    ASSERT_EQ(new_error, 0);
    expect_pixels(img(d), [](int32_t x, int32_t y) { return x < 10 && y < 10 ? tag(x, y) : BLACK; });

    // Half-transparent white: the pixels written twice are lighter.
    int32_t white = filled(10, 10, 0x80FFFFFFu);
    int32_t d2 = filled(20, 20, BLACK);
    map(white, upper, d2, upper);
    map(white, lower, d2, lower);
    expect_pixels(img(d2), [](int32_t x, int32_t y) {
        if (x >= 10 || y >= 10) return BLACK;
        return x + y == 9 ? 0xFFBEBEBEu : 0xFF7F7F7Fu;
    });
}

TEST_F(MapTriangleTest, SeamlessQuadsTileWithoutGapsOrOverlap) {
    int32_t white = filled(20, 20, 0x80FFFFFFu);
    int32_t d = filled(24, 24, BLACK);
    for (float y : {0.0f, 10.0f})
        for (float x : {0.0f, 10.0f}) {
            const tri a{x, y, x + 10, y, x, y + 10}, b{x + 10, y, x + 10, y + 10, x, y + 10};
            map(white, a, d, a, SEAMLESS);
            map(white, b, d, b, SEAMLESS);
        }
    ASSERT_EQ(new_error, 0);
    expect_pixels(img(d), [](int32_t x, int32_t y) { return x < 20 && y < 20 ? 0xFF7F7F7Fu : BLACK; });
}

TEST_F(MapTriangleTest, BlendingOffStoresTexels) {
    int32_t white = filled(10, 10, 0x80FFFFFFu);
    int32_t d = filled(10, 10, BLACK);
    sub__dontblend(d, 1);
    const tri t{0, 0, 9, 0, 0, 9};
    map(white, t, d, t);
    expect_pixels(img(d), [](int32_t x, int32_t y) { return x + y <= 9 ? 0x80FFFFFFu : BLACK; });
}

TEST_F(MapTriangleTest, SourceOutsideItsBoundsTiles) {
    // u from -10 to 5 on a 4 x 4 source: column -10 samples texel column 2.
    int32_t s = tagged(4, 4);
    int32_t d = filled(16, 16, BLACK);
    map(s, {-10, 0, 5, 0, -10, 15}, d, {0, 0, 15, 0, 0, 15});
    ASSERT_EQ(new_error, 0);
    EXPECT_EQ(pixel32(img(d), 0, 0), tag(2, 0));
    expect_pixels(img(d), [](int32_t x, int32_t y) {
        return x + y <= 15 ? tag(((x - 10) % 4 + 4) % 4, y % 4) : BLACK;
    });

    // Wholly beyond the source by whole multiples of its size: the same picture.
    int32_t d2 = filled(16, 16, BLACK);
    map(s, {-10 + 400, -800, 5 + 400, -800, -10 + 400, 15 - 800}, d2, {0, 0, 15, 0, 0, 15});
    EXPECT_EQ(pixels32(img(d2)), pixels32(img(d)));
}

TEST_F(MapTriangleTest, RowEndsFollowPixelCentres) {
    // Slanted edges whose x falls between centres. '#' marks pixels written.
    struct row_case {
        const char* name;
        tri t;
        int32_t extra;
        const char* want;
    } cases[] = {
        {"right edge, centre beyond it still written", {0, 0, 3, 0, 0, 2}, 0, R"(
####.
###..
#....
.....
.....
)"},
        {"right edge seamless", {0, 0, 3, 0, 0, 2}, SEAMLESS, R"(
###..
##...
.....
.....
.....
)"},
        {"left edge, centre before it still written", {3, 0, 3, 4, 0, 4}, 0, R"(
...#.
..##.
..##.
.###.
####.
)"},
        {"left edge seamless", {3, 0, 3, 4, 0, 4}, SEAMLESS, R"(
.....
..#..
..#..
.##..
.....
)"},
        {"one row", {1, 2, 3, 2, 2, 2}, 0, R"(
.....
.....
.###.
.....
.....
)"},
        {"one row seamless", {1, 2, 3, 2, 2, 2}, SEAMLESS, R"(
.....
.....
.....
.....
.....
)"},
        {"no flat edge", {0, 0, 4, 2, 1, 4}, 0, R"(
#....
###..
.####
.###.
.#...
)"},
    };
    for (const auto& c : cases) {
        img_struct* canvas8 = canvas(5, 5);
        int32_t source = func__newimage(4, 4, 256, 1);
        std::memset(img(source)->pixels, 1, 16);
        sub__maptriangle(0, 0, 0, 3, 0, 0, 3, source, c.t.x1, c.t.y1, 0, c.t.x2, c.t.y2, 0, c.t.x3, c.t.y3, 0, 0, 0,
                         SRC | c.extra);
        EXPECT_EQ(new_error, 0) << c.name;
        std::string got = dump(canvas8);
        for (char& ch : got)
            if (ch == '1') ch = '#';
        EXPECT_EQ(got, golden(c.want)) << c.name;
    }
}

TEST_F(MapTriangleTest, ClippedTrianglesMatchTheirUnclippedSelves) {
    // Each triangle is drawn on a 20 x 20 image and, 40 pixels further right and
    // down, on a 100 x 100 one; the small image must equal that window of the large
    // one. The source coordinates follow the destination, so every sample is exact.
    const tri cases[] = {
        {-30, -30, 50, -30, -30, 50},  // above and left of the image, over both edges
        {5, -25, 35, 5, 5, 35},        // top above row 0, right past the last column
        {10, 5, 10, 45, -30, 45},      // below the last row and left of column 0
        {-25, 10, 45, 10, 10, 45},     // wider than the image, below it
        {15, -40, 15, 12, -37, 12},    // flat bottom, starting far above row 0
        {5, -20, 25, -10, 5, 10},      // the middle corner above row 0
        {5, -11, 15, -1, 5, 9},        // the middle corner on row -1
    };
    int32_t source = tagged(100, 100);
    for (const tri& t : cases) {
        int32_t small = filled(20, 20, BLACK);
        int32_t large = filled(100, 100, BLACK);
        const tri shifted{t.x1 + 40, t.y1 + 40, t.x2 + 40, t.y2 + 40, t.x3 + 40, t.y3 + 40};
        map(source, shifted, small, t);
        map(source, shifted, large, shifted);
        ASSERT_EQ(new_error, 0);
        int32_t drawn = 0;
        expect_pixels(img(small), [&](int32_t x, int32_t y) {
            uint32_t want = pixel32(img(large), x + 40, y + 40);
            drawn += want != BLACK;
            return want;
        });
        EXPECT_GT(drawn, 0) << t.x1 << "," << t.y1;
    }
}

TEST_F(MapTriangleTest, ExtremeMappingsReadAndWriteOnlyInsideBothImages) {
    // Under the sanitizer build: huge texel steps over thin spans, the whole range of
    // source coordinates, and destinations far beyond the image on every side.
    struct extreme {
        tri s, d;
    } cases[] = {
        {{0, 0, 16000, 0, 0, 16000}, {0, 0, 1, 5, 0, 5}},
        {{-16383, -16383, 16382, -16383, -16383, 16382}, {3, 0, 4, 19, 2, 19}},
        {{16382, 16382, -16383, 16382, 0, 0}, {-16383, -16383, 16383, 0, 10, 16383}},
        {{0.4f, 0.4f, 9.6f, 0.4f, 0.4f, 9.6f}, {-5, 10, 16383, 9, 25, 11}},
        {{5, 5, 5, 5, 5, 5}, {0, 0, 19, 7, 3, 19}},
    };
    int32_t s = filled(7, 3, 0xFF123456u);
    for (int32_t extra : {0, SEAMLESS}) {
        for (const extreme& c : cases) {
            int32_t d = filled(20, 20, BLACK);
            map(s, c.s, d, c.d, extra);
            EXPECT_EQ(take_error(), 0);
            for (uint32_t p : pixels32(img(d))) ASSERT_TRUE(p == BLACK || p == 0xFF123456u);
        }
    }
}

TEST_F(MapTriangleTest, TrianglesOutsideTheImageDrawNothing) {
    int32_t s = tagged(10, 10);
    int32_t d = filled(20, 20, BLACK);
    const tri outside[] = {
        {0, -9, 9, -9, 0, -1},     // above row 0
        {0, 20, 9, 20, 0, 29},     // below the last row
        {-9, 0, -1, 0, -9, 9},     // left of column 0
        {20, 0, 29, 0, 20, 9},     // right of the last column
        {16383, 0, 16383, 9, 16380, 9},
    };
    for (const tri& t : outside) map(s, {0, 0, 9, 0, 0, 9}, d, t);
    EXPECT_EQ(new_error, 0);
    expect_pixels(img(d), [](int32_t, int32_t) { return BLACK; });
}

TEST_F(MapTriangleTest, EightBitTexelsAreStoredUnmaskedExceptTheClearColour) {
    int32_t source = func__newimage(4, 4, 256, 1);
    for (int32_t i = 0; i < 16; i++) img(source)->pixels[i] = i % 2 ? 200 : 7;
    int32_t page = page_index(0);  // SCREEN 12: four bits per pixel
    sub__maptriangle(0, 0, 0, 3, 0, 0, 3, source, 0, 0, 0, 3, 0, 0, 0, 3, 0, 0, 0, SRC | DST);
    ASSERT_EQ(new_error, 0);
    img_struct* screen12 = img_get(page);
    EXPECT_EQ(screen12->pixels[0], 7);
    EXPECT_EQ(screen12->pixels[1], 200);

    int32_t d = func__newimage(4, 4, 256, 1);
    std::memset(img(d)->pixels, 9, 16);
    sub__clearcolor(7, source, 2 | 4);
    sub__maptriangle(0, 0, 0, 3, 0, 0, 3, source, 0, 0, 0, 3, 0, 0, 0, 3, 0, d, 0, SRC | DST);
    const uint8_t want[16] = {9, 200, 9, 200, 9, 200, 9, 9, 9, 200, 9, 9, 9, 9, 9, 9};
    EXPECT_EQ(std::vector<uint8_t>(img(d)->pixels, img(d)->pixels + 16), std::vector<uint8_t>(want, want + 16));
}

TEST_F(MapTriangleTest, ErrorsChangeNoPixelAndQueueNothing) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    int32_t s = tagged(10, 10);
    int32_t d = filled(20, 20, BLACK);
    int32_t s8 = func__newimage(10, 10, 256, 1);
    int32_t text = func__newimage(10, 10, 0, 1);
    int32_t hw = func__copyimage(tagged(4, 4), 33, 3);
    int32_t freed = func__copyimage(tagged(4, 4), 33, 3);
    sub__freeimage(freed, 1);
    int32_t queued = last_hardware_command_added.load();
    struct error_case {
        const char* name;
        std::function<void()> call;
        int32_t error;
    } cases[] = {
        {"destination x 16384", [&] { map(s, {0, 0, 9, 0, 0, 9}, d, {0, 0, 16384, 0, 0, 9}); }, 5},
        {"destination y -16384", [&] { map(s, {0, 0, 9, 0, 0, 9}, d, {0, 0, 9, 0, 0, -16384}); }, 5},
        {"source coordinate 16384", [&] { map(s, {0, 0, 16384, 0, 0, 9}, d, {0, 0, 9, 0, 0, 9}); }, 5},
        {"source coordinate -16385", [&] { map(s, {0, -16385, 9, 0, 0, 9}, d, {0, 0, 9, 0, 0, 9}); }, 5},
        {"NaN source", [&] { map(s, {nan, 0, 9, 0, 0, 9}, d, {0, 0, 9, 0, 0, 9}); }, 5},
        {"NaN destination", [&] { map(s, {0, 0, 9, 0, 0, 9}, d, {0, nan, 9, 0, 0, 9}); }, 5},
        {"depth with a software source", [&] { map(s, {0, 0, 9, 0, 0, 9}, d, {0, 0, 9, 0, 0, 9}, Z2); }, 5},
        {"text image", [&] { map(text, {0, 0, 9, 0, 0, 9}, d, {0, 0, 9, 0, 0, 9}); }, 5},
        {"8-bit source into 32-bit", [&] { map(s8, {0, 0, 9, 0, 0, 9}, d, {0, 0, 9, 0, 0, 9}); }, 5},
        {"software handle -12345", [&] { map(-12345, {0, 0, 9, 0, 0, 9}, d, {0, 0, 9, 0, 0, 9}); }, 258},
        {"destination -12345", [&] { map(s, {0, 0, 9, 0, 0, 9}, -12345, {0, 0, 9, 0, 0, 9}); }, 258},
        {"hardware image just freed", [&] { map(freed, {0, 0, 9, 0, 0, 9}, 0, {0, 0, 9, 0, 0, 9}); }, 258},
        {"hardware destination just freed", [&] { map(hw, {0, 0, 3, 0, 0, 3}, freed, {0, 0, 9, 0, 0, 9}); }, 258},
        {"hardware source onto destination 2", [&] { map(hw, {0, 0, 3, 0, 0, 3}, 2, {0, 0, 9, 0, 0, 9}); }, 5},
        {"seamless 2D hardware triangle", [&] { map(hw, {0, 0, 3, 0, 0, 3}, 0, {0, 0, 9, 0, 0, 9}, SEAMLESS); },
         5},
        {"_DEPTHBUFFER target 2", [] { sub__depthbuffer(1, 2, 1); }, 5},
        {"_DEPTHBUFFER freed image", [&] { sub__depthbuffer(4, freed, 1); }, 258},
        {"_DEPTHBUFFER software image", [&] { sub__depthbuffer(1, s, 1); }, 258},
    };
    std::vector<uint32_t> before = pixels32(img(d));
    for (const auto& c : cases) {
        c.call();
        EXPECT_EQ(take_error(), c.error) << c.name;
        EXPECT_EQ(pixels32(img(d)), before) << c.name;
        EXPECT_EQ(last_hardware_command_added.load(), queued) << c.name;
    }
    // The limits themselves are accepted.
    map(s, {0, 0, 16382, 0, 0, -16383}, d, {0, 0, 16383, 0, 0, -16383});
    EXPECT_EQ(new_error, 0);
}

TEST_F(MapTriangleTest, PendingErrorDoesNothing) {
    int32_t s = tagged(10, 10);
    int32_t d = filled(10, 10, BLACK);
    int32_t hw = func__copyimage(tagged(4, 4), 33, 3);
    int32_t queued = last_hardware_command_added.load();
    error(7);
    map(s, {0, 0, 9, 0, 0, 9}, d, {0, 0, 9, 0, 0, 9});
    map(hw, {0, 0, 3, 0, 0, 3}, 0, {0, 0, 9, 0, 0, 9});
    sub__depthbuffer(4, 0, 0);
    EXPECT_EQ(new_error, 7);
    EXPECT_EQ(pixel32(img(d), 0, 0), BLACK);
    EXPECT_EQ(last_hardware_command_added.load(), queued);
}

TEST_F(MapTriangleTest, HardwareSourceQueuesTriangleCommands) {
    int32_t hw = func__copyimage(tagged(4, 4), 33, 3);
    int32_t target = func__copyimage(tagged(8, 8), 33, 3);
    ASSERT_LT(hw, 0);
    ASSERT_LT(target, 0);
    img_struct* page = img_get(page_index(0));
    std::vector<uint8_t> before(page->pixels, page->pixels + size_t(page->width) * page->height);

    int32_t queued = last_hardware_command_added.load();
    display_frame_order_next = 41;
    sub__maptriangle(7, 0, 1, 2, 3, 3, 0, hw, 10, 11, 0.5f, 12, 13, 0.5f, 14, 15, 0.5f, 1, 2, SRC | DST);
    ASSERT_EQ(new_error, 0);
    int32_t first = last_hardware_command_added.load();
    ASSERT_NE(first, queued);
    if (queued) {
        EXPECT_EQ(hardware_command_at(queued)->next_command, first);
    }
    const hardware_graphics_command* c = hardware_command_at(first);
    EXPECT_EQ(c->command, HARDWARE_COMMAND_TRIANGLE_2D);
    EXPECT_EQ(c->src_img, get_hardware_img_index(hw));
    EXPECT_EQ(c->dst_img, -1);
    EXPECT_EQ(c->order, 41);
    EXPECT_EQ(c->smooth, 2);
    EXPECT_EQ(c->use_alpha, 1);
    EXPECT_EQ(c->cull_mode, 0);
    const float got[12] = {c->src_x1, c->src_y1, c->src_x2, c->src_y2, c->src_x3, c->src_y3,
                           c->dst_x1, c->dst_y1, c->dst_x2, c->dst_y2, c->dst_x3, c->dst_y3};
    const float want[12] = {0, 1, 2, 3, 3, 0, 10, 11, 12, 13, 14, 15};
    for (int i = 0; i < 12; i++) EXPECT_EQ(got[i], want[i]) << i;
    EXPECT_TRUE(std::equal(before.begin(), before.end(), page->pixels));

    // 3D onto a hardware image after _DEPTHBUFFER LOCK on it: the mode travels along.
    sub__depthbuffer(3, target, 1);
    sub__dontblend(target, 1);
    display_frame_order_next = 42;
    sub__maptriangle(2, 0, 0, 3, 0, 0, 3, hw, 0, 0, 1, 7, 0, 2, 0, 7, 3, target, 0, SRC | DST | Z_ALL | SEAMLESS);
    ASSERT_EQ(new_error, 0);
    int32_t second = last_hardware_command_added.load();
    ASSERT_NE(second, first);
    EXPECT_EQ(c->next_command, second);
    const hardware_graphics_command* c3 = hardware_command_at(second);
    EXPECT_EQ(c3->command, HARDWARE_COMMAND_TRIANGLE_3D);
    EXPECT_EQ(c3->dst_img, get_hardware_img_index(target));
    EXPECT_EQ(c3->depthbuffer_mode, DEPTHBUFFER_LOCKED);
    EXPECT_EQ(c3->cull_mode, 2);
    EXPECT_EQ(c3->use_alpha, 0);
    EXPECT_EQ(c3->dst_z1, 1.0f);
    EXPECT_EQ(c3->dst_z2, 2.0f);
    EXPECT_EQ(c3->dst_z3, 3.0f);
    EXPECT_EQ(c3->order, 42);

    // Omitted destination: the screen layer, with its own mode.
    sub__depthbuffer(2, 0, 0);
    sub__maptriangle(1, 0, 0, 3, 0, 0, 3, hw, 0, 0, 1, 7, 0, 2, 0, 7, 3, 0, 0, SRC | Z1);
    const hardware_graphics_command* c4 = hardware_command_at(last_hardware_command_added.load());
    EXPECT_EQ(c4->dst_img, 0);
    EXPECT_EQ(c4->depthbuffer_mode, DEPTHBUFFER_OFF);
    EXPECT_EQ(c4->cull_mode, 1);
    EXPECT_EQ(c4->use_alpha, 1);
}

TEST_F(MapTriangleTest, DepthBufferModesAndClears) {
    int32_t target = func__copyimage(tagged(8, 8), 33, 3);
    int32_t queued = last_hardware_command_added.load();
    struct mode_case {
        int32_t mode, target, passed, destination, want;
    } cases[] = {
        {2, 0, 0, 0, DEPTHBUFFER_OFF},          {3, 0, 1, 0, DEPTHBUFFER_LOCKED},
        {1, 0, 1, 0, DEPTHBUFFER_ON},           {3, 1, 1, -1, DEPTHBUFFER_LOCKED},
        {99, 1, 1, -1, DEPTHBUFFER_ON},         {2, target, 1, get_hardware_img_index(target), DEPTHBUFFER_OFF},
        {-5, target, 1, get_hardware_img_index(target), DEPTHBUFFER_ON},
    };
    for (const auto& c : cases) {
        sub__depthbuffer(c.mode, c.target, c.passed);
        EXPECT_EQ(depthbuffer_mode_of(c.destination), c.want) << c.mode << " " << c.target;
    }
    EXPECT_EQ(last_hardware_command_added.load(), queued);

    display_frame_order_next = 9;
    sub__depthbuffer(4, 0, 1);
    int32_t clear = last_hardware_command_added.load();
    ASSERT_NE(clear, queued);
    EXPECT_EQ(hardware_command_at(clear)->command, HARDWARE_COMMAND_CLEAR_DEPTHBUFFER);
    EXPECT_EQ(hardware_command_at(clear)->dst_img, 0);
    EXPECT_EQ(hardware_command_at(clear)->order, 9);
    sub__depthbuffer(4, 1, 1);
    EXPECT_EQ(hardware_command_at(last_hardware_command_added.load())->dst_img, -1);
    sub__depthbuffer(4, target, 1);
    EXPECT_EQ(hardware_command_at(last_hardware_command_added.load())->dst_img, get_hardware_img_index(target));
    EXPECT_EQ(new_error, 0);
}

}  // namespace
