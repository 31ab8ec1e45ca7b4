// _PUTIMAGE: stretching, mirroring, clipping, the pixel rules, self-blits, corners,
// cursors, errors and hardware puts, checked pixel by pixel against expectations
// computed here.
#include <algorithm>
#include <functional>
#include <vector>

#include "display/display_frame.h"
#include "draw/putimage.h"
#include "image/alpha_statements.h"
#include "image/image_fixture.h"
#include "image/image_statements.h"

namespace {

constexpr int32_t D1 = 1, D1_STEP = 2, D2 = 4, SRC = 8, DST = 32, S1 = 64, SMOOTH = 128, S2 = 512;

// A distinct opaque colour for every pixel of a source.
uint32_t tag(int32_t x, int32_t y) { return 0xFF000000u | static_cast<uint32_t>(y) << 12 | static_cast<uint32_t>(x); }

class PutImageTest : public ImageTest {
protected:
    void SetUp() override {
        ImageTest::SetUp();
        screen(12);
    }
    // A 32-bit image of tagged pixels, or filled with one colour when fill is given.
    static int32_t image32(int32_t w, int32_t h, uint32_t fill = 0, bool tagged = true) {
        int32_t handle = func__newimage(w, h, 32, 1);
        img_struct* im = img_get(-handle);
        for (int32_t y = 0; y < h; y++)
            for (int32_t x = 0; x < w; x++) set_pixel32(im, x, y, tagged ? tag(x, y) : fill);
        return handle;
    }
    static img_struct* img(int32_t handle) { return img_get(-handle); }

    // Every pixel of a 32-bit image against want(x, y); reports the first mismatch.
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

}  // namespace

TEST_F(PutImageTest, WholeSourceStretchesOntoWholeDestinationInTwoByTwoBlocks) {
    int32_t s = image32(100, 100);
    int32_t d = image32(200, 200, 0, false);
    sub__putimage(0, 0, 0, 0, s, d, 0, 0, 0, 0, SRC | DST);
    ASSERT_EQ(new_error, 0);
    expect_pixels(img(d), [](int32_t x, int32_t y) { return tag(x / 2, y / 2); });
}

TEST_F(PutImageTest, ReversedCornersMirror) {
    struct mirror_case {
        const char* name;
        double x1, y1, x2, y2, sx1, sy1, sx2, sy2;
        int32_t size;  // destination size: 100 same size, 200 stretched
        std::function<uint32_t(int32_t, int32_t)> want;
    };
    const mirror_case cases[] = {
        {"horizontal", 99, 0, 0, 99, 0, 0, 99, 99, 100, [](int32_t x, int32_t y) { return tag(99 - x, y); }},
        {"vertical", 0, 99, 99, 0, 0, 0, 99, 99, 100, [](int32_t x, int32_t y) { return tag(x, 99 - y); }},
        {"both reversed in x", 99, 0, 0, 99, 99, 0, 0, 99, 100, [](int32_t x, int32_t y) { return tag(x, y); }},
        {"stretched horizontal", 199, 0, 0, 199, 0, 0, 99, 99, 200,
         [](int32_t x, int32_t y) { return tag((199 - x) / 2, y / 2); }},
        {"stretched vertical", 0, 199, 199, 0, 0, 0, 99, 99, 200,
         [](int32_t x, int32_t y) { return tag(x / 2, (199 - y) / 2); }},
    };
    for (const mirror_case& c : cases) {
        SCOPED_TRACE(c.name);
        int32_t s = image32(100, 100);
        int32_t d = image32(c.size, c.size, 0, false);
        sub__putimage(c.x1, c.y1, c.x2, c.y2, s, d, c.sx1, c.sy1, c.sx2, c.sy2, D1 | D2 | SRC | DST | S1 | S2);
        ASSERT_EQ(new_error, 0);
        expect_pixels(img(d), c.want);
        sub__freeimage(s, 1);
        sub__freeimage(d, 1);
    }
}

TEST_F(PutImageTest, ClipsOnBothSides) {
    int32_t s = image32(100, 100);
    int32_t d = image32(200, 200, 0, false);
    sub__dest(d);
    sub__putimage(-50, -50, 0, 0, s, 0, 0, 0, 0, 0, D1 | SRC);
    expect_pixels(img(d), [](int32_t x, int32_t y) { return x < 50 && y < 50 ? tag(x + 50, y + 50) : 0; });

    int32_t d2 = image32(200, 200, 0, false);
    sub__putimage(150, 0, 0, 0, s, d2, 0, 0, 0, 0, D1 | SRC | DST);
    expect_pixels(img(d2), [](int32_t x, int32_t y) { return x >= 150 && y < 100 ? tag(x - 150, y) : 0; });

    int32_t d3 = image32(200, 200, 0, false);
    sub__putimage(0, 0, 0, 0, s, d3, -10, 0, 89, 99, D1 | SRC | DST | S1 | S2);
    expect_pixels(img(d3), [](int32_t x, int32_t y) { return x >= 10 && x < 100 && y < 100 ? tag(x - 10, y) : 0; });
    EXPECT_EQ(new_error, 0);
}

TEST_F(PutImageTest, PaletteSourcesFollowTheirPixelRules) {
    // 8-bit onto 8-bit with a clear colour: index 0 leaves the destination alone.
    int32_t s = func__newimage(4, 1, 256, 1);
    const uint8_t row[4] = {0, 5, 0, 200};
    memcpy(img(s)->pixels, row, 4);
    sub__clearcolor(0, s, 2 | 4);
    int32_t d = func__newimage(4, 1, 256, 1);
    memset(img(d)->pixels, 9, 4);
    sub__putimage(0, 0, 0, 0, s, d, 0, 0, 0, 0, D1 | SRC | DST);
    const uint8_t want[4] = {9, 5, 9, 200};
    EXPECT_EQ(memcmp(img(d)->pixels, want, 4), 0);

    // Onto a 4-bit page the index is stored unmasked.
    sub__clearcolor(0, s, 1 | 4);
    sub__putimage(0, 0, 0, 0, s, 0, 0, 0, 0, 0, D1 | SRC | DST);
    EXPECT_EQ(img_get(page_index(0))->pixels[3], 200);

    // A palette page onto a 32-bit image: the palette entry, alpha included, unblended.
    screen(13);
    img_struct* page = img_get(page_index(0));
    page->palette[1] = 0x00123456;
    page->pixels[0] = 1;
    int32_t d32 = image32(2, 1, 0xFF808080, false);
    sub__putimage(0, 0, 0, 0, 0, d32, 0, 0, 0, 0, D1 | SRC | DST);
    EXPECT_EQ(pixel32(img(d32), 0, 0), 0x00123456u);
    EXPECT_EQ(pixel32(img(d32), 1, 0), page->palette[0]);
    EXPECT_EQ(new_error, 0);
}

TEST_F(PutImageTest, HalfAlphaAveragesUnlessBlendingIsOff) {
    int32_t s = image32(1, 1, 0x80FF0000, false);
    int32_t d = image32(1, 1, 0xFF0000FF, false);
    sub__putimage(0, 0, 0, 0, s, d, 0, 0, 0, 0, D1 | SRC | DST);
    EXPECT_EQ(pixel32(img(d), 0, 0) & 0xFFFFFF, 0x7F007Fu);
    sub__dontblend(d, 1);
    sub__putimage(0, 0, 0, 0, s, d, 0, 0, 0, 0, D1 | SRC | DST);
    EXPECT_EQ(pixel32(img(d), 0, 0), 0x80FF0000u);
}

TEST_F(PutImageTest, SelfBlitEqualsBlitFromAnUntouchedCopyAndLeaksNoImage) {
    int32_t a = image32(20, 20);
    int32_t b = image32(20, 20);
    int32_t untouched = image32(20, 20);
    int32_t probe = func__copyimage(a, 0, 1);
    sub__freeimage(probe, 1);

    sub__putimage(1, 0, 0, 0, a, a, 0, 0, 0, 0, D1 | SRC | DST);
    sub__putimage(1, 0, 0, 0, untouched, b, 0, 0, 0, 0, D1 | SRC | DST);
    ASSERT_EQ(new_error, 0);
    expect_pixels(img(a), [&](int32_t x, int32_t y) { return pixel32(img(b), x, y); });
    EXPECT_EQ(func__newimage(1, 1, 32, 1), probe);
}

TEST_F(PutImageTest, CornersAndCursors) {
    int32_t s = image32(100, 100);
    int32_t d = image32(200, 200, 0, false);
    sub__putimage(10, 10, 0, 0, s, d, 0, 0, 0, 0, D1 | SRC | DST);
    expect_pixels(img(d), [](int32_t x, int32_t y) {
        return x >= 10 && x < 110 && y >= 10 && y < 110 ? tag(x - 10, y - 10) : 0;
    });

    int32_t d2 = image32(200, 200, 0, false);
    sub__putimage(10, 10, 0, 0, s, d2, 20, 20, 29, 39, D1 | SRC | DST | S1 | S2);
    expect_pixels(img(d2), [](int32_t x, int32_t y) {
        return x >= 10 && x < 20 && y >= 10 && y < 30 ? tag(x + 10, y + 10) : 0;
    });

    sub__putimage(10, 10, 20, 20, s, d, 0, 0, 0, 0, D1 | D2 | SRC | DST);
    EXPECT_EQ(img(d)->graphics.x, 20.0f);
    EXPECT_EQ(img(d)->graphics.y, 20.0f);
    EXPECT_EQ(img(s)->graphics.x, 100.0f);
    EXPECT_EQ(img(s)->graphics.y, 100.0f);

    // STEP from the destination's cursor.
    int32_t d3 = image32(200, 200, 0, false);
    img(d3)->graphics.x = 30;
    img(d3)->graphics.y = 40;
    sub__putimage(5, 5, 0, 0, s, d3, 0, 0, 0, 0, D1 | D1_STEP | SRC | DST);
    EXPECT_EQ(pixel32(img(d3), 35, 45), tag(0, 0));
    EXPECT_EQ(pixel32(img(d3), 34, 45), 0u);
    EXPECT_EQ(new_error, 0);
}

TEST_F(PutImageTest, Errors) {
    int32_t s32 = image32(4, 4);
    struct error_case {
        const char* name;
        std::function<void()> run;
        int32_t error;
    };
    const error_case cases[] = {
        {"source first corner alone", [] { sub__putimage(10, 10, 0, 0, 0, 0, 5, 5, 0, 0, D1 | S1); }, 5},
        {"32-bit onto a palette page", [&] { sub__putimage(0, 0, 0, 0, s32, 0, 0, 0, 0, 0, SRC | DST); }, 5},
        {"no such image", [] { sub__putimage(0, 0, 0, 0, -4000, 0, 0, 0, 0, 0, SRC); }, 258},
    };
    for (const error_case& c : cases) {
        SCOPED_TRACE(c.name);
        c.run();
        EXPECT_EQ(take_error(), c.error);
    }
    screen(0);
    sub__putimage(0, 0, 0, 0, s32, 0, 0, 0, 0, 0, SRC | DST);
    EXPECT_EQ(take_error(), 5);
}

TEST_F(PutImageTest, OutOfRangeCornersDrawNothing) {
    int32_t s = image32(10, 10);
    int32_t d = image32(20, 20, 0, false);
    sub__putimage(0, 0, 0, 10, s, d, -5, 0, -3, 10, D1 | D2 | SRC | DST | S1 | S2);
    sub__putimage(1E12, 0, 0, 0, s, d, 0, 0, 0, 0, D1 | SRC | DST);
    EXPECT_EQ(new_error, 0);
    expect_pixels(img(d), [](int32_t, int32_t) { return 0u; });
}

TEST_F(PutImageTest, HardwareSourceQueuesOnePutAndDrawsNothing) {
    int32_t hw = func__copyimage(image32(8, 8), 33, 3);
    ASSERT_LT(hw, 0);
    img_struct* page = img_get(page_index(0));
    std::vector<uint8_t> before(page->pixels, page->pixels + static_cast<size_t>(page->width) * page->height);

    sub__putimage(0, 0, 0, 0, hw, 2, 0, 0, 0, 0, SRC | DST);
    EXPECT_EQ(take_error(), 5);
    EXPECT_EQ(first_hardware_command.load(), 0);

    display_frame_order_next = 77;
    sub__putimage(5, 6, 0, 0, hw, 0, 0, 0, 0, 0, D1 | SRC | DST | SMOOTH);
    ASSERT_EQ(new_error, 0);
    int32_t cmd = first_hardware_command.load();
    ASSERT_NE(cmd, 0);
    EXPECT_EQ(last_hardware_command_added.load(), cmd);
    const hardware_graphics_command* c = hardware_command_at(cmd);
    EXPECT_EQ(c->command, HARDWARE_COMMAND_PUT);
    EXPECT_EQ(c->src_img, get_hardware_img_index(hw));
    EXPECT_EQ(c->dst_img, 0);
    EXPECT_EQ(c->src_x1, 0.0f);
    EXPECT_EQ(c->src_x2, 7.0f);
    EXPECT_EQ(c->src_y2, 7.0f);
    EXPECT_EQ(c->dst_x1, 5.0f);
    EXPECT_EQ(c->dst_y1, 6.0f);
    EXPECT_EQ(c->dst_x2, 12.0f);
    EXPECT_EQ(c->dst_y2, 13.0f);
    EXPECT_EQ(c->smooth, 1);
    EXPECT_EQ(c->use_alpha, 1);
    EXPECT_EQ(c->order, 77);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), page->pixels));

    sub__freeimage(hw, 1);
    sub__putimage(0, 0, 0, 0, hw, 0, 0, 0, 0, 0, SRC | DST);
    EXPECT_EQ(take_error(), 258);
}

TEST_F(PutImageTest, CornersFollowEachImagesViewAndWindow) {
    int32_t s = image32(10, 10);
    int32_t d = image32(40, 40, 0, false);
    // Destination: VIEW offset (10, 20). Source: WINDOW scaling by 2.
    img(d)->graphics.clipping_or_scaling = 1;
    img(d)->graphics.view_offset_x = 10;
    img(d)->graphics.view_offset_y = 20;
    img_graphics_state& g = img(s)->graphics;
    g.clipping_or_scaling = 2;
    g.scaling_x = g.scaling_y = 2;
    g.scaling_offset_x = g.scaling_offset_y = 0;
    sub__putimage(0, 0, 0, 0, s, d, 1, 1, 2, 2, D1 | SRC | DST | S1 | S2);
    ASSERT_EQ(new_error, 0);
    expect_pixels(img(d), [](int32_t x, int32_t y) {
        return x >= 10 && x < 13 && y >= 20 && y < 23 ? tag(x - 8, y - 18) : 0;
    });
}
