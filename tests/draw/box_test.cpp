// fast_boxfill against the pixel rule: every engine row gives what a pset loop gives.
#include <random>
#include <vector>

#include "draw/box.h"
#include "draw/pset.h"
#include "draw/raster_fixture.h"
#include "image/image_handle.h"

namespace {

using BoxFill = RasterTest;

// Two copies of an image with the same random contents.
struct twins {
    int32_t a, b;
};

twins make_twins(int32_t w, int32_t h, int32_t mode, std::mt19937& rng) {
    int32_t a = func__newimage(w, h, mode, 1);
    int32_t b = func__newimage(w, h, mode, 1);
    img_struct* ia = img_get(-a);
    size_t bytes = static_cast<size_t>(w) * h * ia->bytes_per_pixel;
    for (size_t i = 0; i < bytes; i++) ia->pixels[i] = static_cast<uint8_t>(rng());
    memcpy(img_get(-b)->pixels, ia->pixels, bytes);
    return {a, b};
}

}  // namespace

TEST_F(BoxFill, EqualsAPsetLoopForEveryImageAndAlpha) {
    std::mt19937 rng(12345);
    struct kind {
        int32_t screen_mode;  // 0: a _NEWIMAGE of image_mode
        int32_t image_mode;
        std::vector<uint32_t> colours;
        bool blend_off;
    };
    const kind kinds[] = {
        {2, 0, {0, 1, 3, 0xFFFFFFFF}, false},     // 1 bit
        {1, 0, {2, 7, 0x1234}, false},            // 2 bits
        {12, 0, {9, 17, 255}, false},             // 4 bits
        {0, 256, {0, 200, 300, 0xFFFFFF07}, false},
        {0, 32, {0x00FF00FF, 0x7F102030, 0x80FFFFFF, 0xFF123456, 0x40ABCDEF, 0xC0000000}, false},
        {0, 32, {0x00FF00FF, 0x40ABCDEF}, true},
    };
    for (const kind& k : kinds) {
        SCOPED_TRACE(testing::Message() << k.screen_mode << "/" << k.image_mode << (k.blend_off ? " off" : ""));
        screen(k.screen_mode ? k.screen_mode : 13);
        int32_t w = 37, h = 23;
        twins t{};
        if (k.screen_mode) {
            // Two pages of the mode itself.
            sub__dest(0);
            t = {-page_index(0), -validatepage(1)};
            img_struct* p0 = img_get(-t.a);
            w = p0->width;
            h = p0->height;
            for (int32_t i = 0; i < w * h; i++) p0->pixels[i] = static_cast<uint8_t>(rng()) & p0->pixel_mask;
            memcpy(img_get(-t.b)->pixels, p0->pixels, static_cast<size_t>(w) * h);
        } else {
            t = make_twins(w, h, k.image_mode, rng);
        }
        img_get(-t.a)->blend_off = k.blend_off;
        img_get(-t.b)->blend_off = k.blend_off;
        for (uint32_t col : k.colours) {
            for (int round = 0; round < 20; round++) {
                int32_t x1 = static_cast<int32_t>(rng() % w), x2 = static_cast<int32_t>(rng() % w);
                int32_t y1 = static_cast<int32_t>(rng() % h), y2 = static_cast<int32_t>(rng() % h);
                if (x1 > x2) std::swap(x1, x2);
                if (y1 > y2) std::swap(y1, y2);
                set_write_page(-t.a);
                fast_boxfill(x1, y1, x2, y2, col);
                set_write_page(-t.b);
                for (int32_t y = y1; y <= y2; y++)
                    for (int32_t x = x1; x <= x2; x++) pset(x, y, col);
            }
            const img_struct* a = img_get(-t.a);
            ASSERT_EQ(memcmp(a->pixels, img_get(-t.b)->pixels, static_cast<size_t>(w) * h * a->bytes_per_pixel), 0)
                << std::hex << col;
        }
    }
}
