// Graphics GET and PUT: golden array bytes per depth, round trips with every action,
// bounds, fill, clipping, key colour and refusals that change nothing.
#include <vector>

#include "draw/graphics_get_put.h"
#include "image/image_fixture.h"
#include "image/image_statements.h"

namespace {

using bytes = std::vector<uint8_t>;

class GraphicsGetPutTest : public ImageTest {
protected:
    // SCREEN mode (or a 32-bit image when mode is 32) with the given pixels from (0, 0).
    static img_struct* image_with(int32_t mode, const std::vector<uint32_t>& row) {
        if (mode == 32) {
            screen(12);
            int32_t h = func__newimage(16, 8, 32, 1);
            sub__dest(h);
            sub__source(h);
        } else {
            screen(mode);
        }
        img_struct* im = write_page();
        for (size_t x = 0; x < row.size(); x++) {
            if (mode == 32) set_pixel32(im, static_cast<int32_t>(x), 0, row[x]);
            else im->pixels[x] = static_cast<uint8_t>(row[x]);
        }
        return im;
    }
    static bytes pixels_of(const img_struct* im) {
        return bytes(im->pixels, im->pixels + static_cast<size_t>(im->width) * im->height * im->bytes_per_pixel);
    }
};

}  // namespace

TEST_F(GraphicsGetPutTest, GetPacksEachDepthAsTheLegacyLayout) {
    struct golden {
        int32_t mode;
        std::vector<uint32_t> pixels;
        float x2;
        bytes want;
    };
    const golden cases[] = {
        {12, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 9, {0x0A, 0, 1, 0, 0xAA, 0x80, 0x66, 0x40, 0x1E, 0x00, 0x01, 0xC0}},
        {1, {1, 2, 3, 0, 2}, 4, {0x0A, 0, 1, 0, 0x6C, 0x80}},
        {2, {1, 0, 1, 1, 0, 0, 0, 1, 1}, 8, {0x09, 0, 1, 0, 0xB1, 0x80}},
        {13, {7, 8, 9}, 2, {0x18, 0, 1, 0, 7, 8, 9}},
        {32, {0x80123456}, 0, {1, 0, 1, 0, 0x56, 0x34, 0x12, 0x80}},
    };
    for (const golden& c : cases) {
        SCOPED_TRACE(c.mode);
        image_with(c.mode, c.pixels);
        bytes array(c.want.size(), 0xEE);
        sub_graphics_get(0, 0, c.x2, 0, array.data(), static_cast<int64_t>(array.size()), 0, 0);
        EXPECT_EQ(take_error(), 0);
        EXPECT_EQ(array, c.want);
    }
}

TEST_F(GraphicsGetPutTest, RoundTripsWithEveryAction) {
    for (int32_t mode : {2, 1, 12, 13, 32}) {
        SCOPED_TRACE(mode);
        img_struct* im = image_with(mode, {1, 0, 1, 1, 0, 1, 1, 1, 0, 1, 1});
        if (mode == 32) set_pixel32(im, 3, 0, 0x80FFFFFF);
        bytes original = pixels_of(im);
        bytes array(4 + 4 * 11 * 2, 0);
        sub_graphics_get(0, 0, 10, 1, array.data(), static_cast<int64_t>(array.size()), 0, 0);
        sub_graphics_put(0, 0, array.data(), static_cast<int64_t>(array.size()), 1, 0, 0);
        EXPECT_EQ(pixels_of(im), original);
        sub_graphics_put(0, 0, array.data(), static_cast<int64_t>(array.size()), 0, 0, 0);
        EXPECT_EQ(pixels_of(im), bytes(original.size(), 0));
        sub_graphics_put(0, 0, array.data(), static_cast<int64_t>(array.size()), 5, 0, 0);
        EXPECT_EQ(pixels_of(im), original);
        EXPECT_EQ(take_error(), 0);
    }
}

TEST_F(GraphicsGetPutTest, PresetAndOrOnFourBits) {
    img_struct* im = image_with(12, {6});
    bytes array(4 + 4, 0);
    sub_graphics_get(0, 0, 0, 0, array.data(), 8, 0, 0);
    sub_graphics_put(0, 0, array.data(), 8, 2, 0, 0);
    EXPECT_EQ(im->pixels[0], 9);
    im->pixels[0] = 3;
    sub_graphics_put(0, 0, array.data(), 8, 3, 0, 0);
    EXPECT_EQ(im->pixels[0], 2);
    sub_graphics_put(0, 0, array.data(), 8, 4, 0, 0);
    EXPECT_EQ(im->pixels[0], 6);
    EXPECT_EQ(take_error(), 0);
}

TEST_F(GraphicsGetPutTest, BoundsFillClippingAndKey) {
    img_struct* im = image_with(12, {});
    bytes array(4 + 4 * 2 * 10, 0);
    sub_graphics_get(630, 0, 649, 0, array.data(), static_cast<int64_t>(array.size()), 0, 0);
    EXPECT_EQ(take_error(), 5);
    sub_graphics_get(630, 0, 649, 0, array.data(), static_cast<int64_t>(array.size()), 0x1F3, 4);
    ASSERT_EQ(take_error(), 0);
    // Planes 0 and 1 of the last ten positions set, planes 2 and 3 clear.
    const bytes want = {20, 0, 1, 0, 0x00, 0x3F, 0xF0, 0x00, 0x3F, 0xF0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(bytes(array.begin(), array.begin() + 16), want);

    // A 10 x 10 array of 7 except 0 at (5, 5).
    for (int32_t y = 0; y < 10; y++)
        for (int32_t x = 0; x < 10; x++) im->pixels[y * 640 + x] = 7;
    im->pixels[5 * 640 + 5] = 0;
    bytes block(4 + 10 * 8);
    sub_graphics_get(0, 0, 9, 9, block.data(), static_cast<int64_t>(block.size()), 0, 0);
    memset(im->pixels, 0, 640 * 480);
    sub_graphics_put(-5, -5, block.data(), static_cast<int64_t>(block.size()), 1, 0, 0);
    EXPECT_EQ(take_error(), 5);
    sub_graphics_put(-5, -5, block.data(), static_cast<int64_t>(block.size()), 1, 0, 2);
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(im->pixels[0], 0);
    EXPECT_EQ(im->pixels[1], 7);
    EXPECT_EQ(im->pixels[4 * 640 + 4], 7);
    EXPECT_EQ(im->pixels[5 * 640], 0);

    // Key 0: the 0 at (5, 5) leaves the destination alone.
    memset(im->pixels, 2, 640 * 10);
    sub_graphics_put(0, 0, block.data(), static_cast<int64_t>(block.size()), 1, 0, 4);
    EXPECT_EQ(im->pixels[5 * 640 + 5], 2);
    EXPECT_EQ(im->pixels[5 * 640 + 4], 7);
}

TEST_F(GraphicsGetPutTest, RefusalsChangeNothing) {
    img_struct* im = image_with(13, {1, 2, 3});
    im->graphics.x = 3;
    im->graphics.y = 4;
    bytes before = pixels_of(im);
    struct refusal {
        const char* name;
        bytes array;
        bool get;
    };
    const refusal cases[] = {
        {"8-bit header of 12 bits", {12, 0, 1, 0, 1, 2}, false},
        {"three bytes", {8, 0, 1}, false},
        {"one byte short", {16, 0, 1, 0, 1}, false},
        {"get one byte short", bytes(4 + 2, 0xEE), true},
        {"get wider than the header", bytes(4 + 9000, 0xEE), true},
    };
    for (const refusal& c : cases) {
        SCOPED_TRACE(c.name);
        bytes array = c.array;
        if (c.get && array.size() == 6) sub_graphics_get(0, 0, 2, 0, array.data(), 6, 0, 0);
        else if (c.get) sub_graphics_get(0, 0, 8999, 0, array.data(), 9004, 1, 4);
        else sub_graphics_put(0, 0, array.data(), static_cast<int64_t>(array.size()), 1, 0, 0);
        EXPECT_EQ(take_error(), 5);
        EXPECT_EQ(array, c.array);
        EXPECT_EQ(pixels_of(im), before);
        EXPECT_EQ(im->graphics.x, 3.0f);
        EXPECT_EQ(im->graphics.y, 4.0f);
    }
    image_with(1, {1});
    bytes odd = {3, 0, 1, 0, 0xC0};
    sub_graphics_put(0, 0, odd.data(), 5, 1, 0, 0);
    EXPECT_EQ(take_error(), 5);

    screen(0);
    bytes array(16, 0);
    sub_graphics_get(0, 0, 1, 0, array.data(), 16, 0, 0);
    EXPECT_EQ(take_error(), 5);
    sub_graphics_put(0, 0, array.data(), 16, 1, 0, 0);
    EXPECT_EQ(take_error(), 5);
}
