// Frames of graphics pages: palette pages through their colours, 32-bit pages copied,
// change detection, the software layer left out of the display order, and SCREEN 10.
#include <cmath>
#include <random>

#include "display/display_fixture.h"
#include "display/producer_internal.h"
#include "palette/palette.h"

using FramePixels = DisplayTest;

namespace {

// The default VGA palette as the BIOS defines it: 6-bit components scaled to 8 bits.
uint32_t vga_colour(int32_t i) {
    static const int32_t greys[16] = {0, 5, 8, 11, 14, 17, 20, 24, 28, 32, 36, 40, 45, 50, 56, 63};
    static const int32_t rings[9][5] = {{0, 16, 31, 47, 63}, {31, 39, 47, 55, 63}, {45, 49, 54, 58, 63},
                                        {0, 7, 14, 21, 28},  {14, 17, 21, 24, 28}, {20, 22, 24, 26, 28},
                                        {0, 4, 8, 12, 16},   {8, 10, 12, 14, 16},  {11, 12, 13, 15, 16}};
    auto scale = [](int32_t v) { return static_cast<uint32_t>(std::lround(v * 255.0 / 63.0)); };
    auto rgb = [&](int32_t r, int32_t g, int32_t b) { return 0xFF000000u | scale(r) << 16 | scale(g) << 8 | scale(b); };
    if (i < 16) return vga16[i];
    if (i < 32) return rgb(greys[i - 16], greys[i - 16], greys[i - 16]);
    if (i >= 248) return 0xFF000000;
    const int32_t* L = rings[(i - 32) / 24];
    int32_t k = (i - 32) % 24;
    int32_t r = L[0], g = L[0], b = L[4];
    if (k >= 1) r = L[k <= 4 ? k : 4];
    if (k >= 5) b = L[k <= 8 ? 8 - k : 0];
    if (k >= 9) g = L[k <= 12 ? k - 8 : 4];
    if (k >= 13) r = L[k <= 16 ? 16 - k : 0];
    if (k >= 17) b = L[k <= 20 ? k - 16 : 4];
    if (k >= 21) g = L[24 - k];
    return rgb(r, g, b);
}

}  // namespace

TEST_F(FramePixels, PalettePagesShowTheColoursOfTheirIndices) {
    for (int32_t mode : {12, 13}) {
        SCOPED_TRACE(mode);
        display_reset_for_tests();
        int32_t index = screen(mode);
        img_struct* page = img_get(index);
        int32_t mask = mode == 12 ? 15 : 255;
        for (int32_t y = 0; y < page->height; y++)
            for (int32_t x = 0; x < page->width; x++) page->pixels[y * page->width + x] = static_cast<uint8_t>((x + 3 * y) & mask);

        display_frame_record* f = produce();
        ASSERT_NE(f, nullptr);
        ASSERT_EQ(f->w, page->width);
        ASSERT_EQ(f->h, page->height);
        EXPECT_EQ(x_monitor.load(), page->width);
        EXPECT_EQ(y_monitor.load(), page->height);
        int32_t wrong = 0;
        for (int32_t y = 0; y < f->h; y++)
            for (int32_t x = 0; x < f->w; x++) wrong += at(f, x, y) != vga_colour((x + 3 * y) & mask);
        EXPECT_EQ(wrong, 0);
    }
}

TEST_F(FramePixels, ChangesToPixelsOrPaletteMakeANewFrame) {
    img_struct* page = img_get(screen(12));
    ASSERT_NE(produce(), nullptr);
    EXPECT_EQ(produce(), nullptr);

    page->pixels[640 * 100 + 7] = 4;
    display_frame_record* f = produce();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(at(f, 7, 100), vga16[4]);

    palette_set(page->palette, 4, 0xFF123456);
    f = produce();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(at(f, 7, 100), 0xFF123456u);

    // SCREEN redraws whole even when nothing else changed.
    EXPECT_EQ(produce(), nullptr);
    screen_last_valid = 0;
    EXPECT_NE(produce(), nullptr);
}

TEST_F(FramePixels, ThirtyTwoBitPagesAreCopiedExactly) {
    img_struct* page = graphics_page(640, 480, 32);
    for (int32_t y = 0; y < 480; y++)
        for (int32_t x = 0; x < 640; x++) set_pixel32(page, x, y, static_cast<uint32_t>(x * 2654435761u ^ y * 40503u));

    display_frame_record* f = produce();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(memcmp(f->pixels, page->pixels, 640 * 480 * 4), 0);
    present();
    EXPECT_EQ(produce(), nullptr);

    set_pixel32(page, 639, 479, 0x00ABCDEF);
    f = produce();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(at(f, 639, 479), 0x00ABCDEFu);
    EXPECT_EQ(memcmp(f->pixels, page->pixels, 640 * 480 * 4), 0);
}

TEST_F(FramePixels, WithoutTheSoftwareLayerOnlyForcedOrResizedPagesMakeFrames) {
    for (int32_t mode : {12, 32}) {
        SCOPED_TRACE(mode);
        display_reset_for_tests();
        img_struct* page = mode == 32 ? graphics_page(64, 48, 32) : img_get(screen(12));
        ASSERT_NE(produce(), nullptr);
        displayorder_screen = 0;
        page->pixels[5] = 9;
        EXPECT_EQ(produce(), nullptr);
        force_display_update = 1;
        EXPECT_NE(produce(), nullptr);
        EXPECT_EQ(force_display_update.load(), 0);
        EXPECT_EQ(produce(), nullptr);
        if (mode == 12) {
            // A palette page of another pixel count is a new frame even then.
            graphics_page(32, 16, 256);
            EXPECT_NE(produce(), nullptr);
        }
    }
}

TEST_F(FramePixels, ANewShapeWithTheSamePixelCountIsANewFrame) {
    for (int32_t mode : {32, 256}) {
        SCOPED_TRACE(mode);
        display_reset_for_tests();
        graphics_page(8, 2, mode);
        display_frame_record* f = produce();
        ASSERT_NE(f, nullptr);
        present();
        // Same (zero) pixels, same count, screen state still valid.
        graphics_page(2, 8, mode);
        f = produce();
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(f->w, 2);
        EXPECT_EQ(f->h, 8);
    }
}

TEST_F(FramePixels, ScreenTenBlinksWithTheClock) {
    img_struct* page = img_get(screen(10));
    // Attributes 1 to 3 show pseudo-colours 4, 6 and 8 (entries 5 to 7).
    page->pixels[0] = 1;
    page->pixels[1] = 2;
    page->pixels[2] = 3;
    fake_clock::now_ns = 0x100 * 1000000LL;
    display_frame_record* f = produce();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(at(f, 0, 0), 0x808080u);
    EXPECT_EQ(at(f, 1, 0), 0xFFFFFFu);
    EXPECT_EQ(at(f, 2, 0), 0xFFFFFFu);
    EXPECT_EQ(at(f, 3, 0), 0x000000u);

    fake_clock::now_ns = 0x1FF * 1000000LL;
    EXPECT_EQ(produce(), nullptr);

    fake_clock::now_ns = 0x200 * 1000000LL;
    f = produce();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(at(f, 0, 0), 0x808080u);
    EXPECT_EQ(at(f, 1, 0), 0x000000u);
    EXPECT_EQ(at(f, 2, 0), 0xFFFFFFu);
    EXPECT_EQ(palette_get(page->palette, 2), 0x000000u);

    // A pseudo-colour number outside 0 to 8 shows as pseudo-colour 0.
    palette_set(page->palette, 5, 99);
    f = produce();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(at(f, 0, 0), 0x000000u);
}

// Frames are built from the rows that changed since the frame a slot last held.
// Whatever the changes, the slots reused and the frames of other kinds in between,
// every frame made equals the page converted whole.
TEST_F(FramePixels, FramesFollowEveryChangeExactly) {
    std::mt19937 random(20);
    // Widths that leave a tail beside whole groups of 16 pixels.
    for (int32_t mode : {12, 13, 32}) {
        for (int32_t width : {37, 64}) {
            SCOPED_TRACE(::testing::Message() << "mode " << mode << " width " << width);
            display_reset_for_tests();
            int32_t height = 23;
            img_struct* page = graphics_page(width, height, mode);
            size_t bytes = static_cast<size_t>(width) * height * page->bytes_per_pixel;
            // 16-colour pages also hold values above their mask, shown through the
            // 256-entry copy of the palette (zero after start-up).
            auto expected = [&](int32_t x, int32_t y) -> uint32_t {
                size_t i = static_cast<size_t>(y) * width + x;
                if (mode == 32) {
                    uint32_t v;
                    memcpy(&v, page->pixels + i * 4, 4);
                    return v;
                }
                uint8_t index = page->pixels[i];
                return index < (1 << page->bits_per_pixel) ? palette_get(page->palette, index) : 0;
            };
            int32_t frames = 0, wrong_frames = 0;
            for (int32_t round = 0; round < 300; round++) {
                int32_t what = static_cast<int32_t>(random() % 10);
                if (what < 6) {
                    // A few pixels in a few rows.
                    for (int32_t n = static_cast<int32_t>(random() % 4); n >= 0; n--)
                        page->pixels[random() % bytes] = static_cast<uint8_t>(random() % (what == 0 ? 256 : 16));
                } else if (what == 6 && mode != 32) {
                    palette_set(page->palette, static_cast<int32_t>(random() % 16), 0xFF000000u | (random() & 0xFFFFFF));
                } else if (what == 7) {
                    force_display_update.store(1);
                }
                display_frame_record* f = produce();
                // The presenter sometimes falls behind, so ready slots are taken back.
                if (random() % 3) present();
                if (!f) continue;
                frames++;
                int32_t wrong = 0;
                for (int32_t y = 0; y < height; y++)
                    for (int32_t x = 0; x < width; x++) wrong += at(f, x, y) != expected(x, y);
                wrong_frames += wrong != 0;
            }
            EXPECT_GT(frames, 100);
            EXPECT_EQ(wrong_frames, 0);
        }
    }
}

// A frame of another kind in between: the next frame does not build on it.
TEST_F(FramePixels, AFrameOfAnotherKindIsNotBuiltOn) {
    for (int32_t mode : {13, 32}) {
        SCOPED_TRACE(mode);
        display_reset_for_tests();
        int32_t index = imgnew(64, 32, mode);
        set_display_page(index);
        img_struct* page = img_get(index);
        size_t bytes = static_cast<size_t>(64) * 32 * page->bytes_per_pixel;
        memset(page->pixels, 1, bytes);
        ASSERT_NE(produce(), nullptr);
        present();
        // A 64 x 32 32-bit (or palette) page of other contents shown meanwhile.
        img_struct* other = graphics_page(64, 32, mode == 32 ? 13 : 32);
        memset(other->pixels, 2, static_cast<size_t>(64) * 32 * other->bytes_per_pixel);
        ASSERT_NE(produce(), nullptr);
        present();
        set_display_page(index);
        page->pixels[0] = 3;
        display_frame_record* f = produce();
        ASSERT_NE(f, nullptr);
        uint32_t fill = mode == 32 ? 0x01010101u : palette_get(page->palette, 1);
        EXPECT_EQ(at(f, 5, 20), fill);
        EXPECT_EQ(at(f, 63, 31), fill);
    }
}

// The row conversions for each instruction set the processor has give what the
// table lookup gives: every length around the 16-pixel groups, indices below 16
// alone (the register table) and mixed with higher ones (the whole table).
TEST_F(FramePixels, PaletteRowConversionsAgree) {
    std::mt19937 random(7);
    for (int32_t i = 0; i < 256; i++) paldata[i] = static_cast<uint32_t>(random());
    struct kernel {
        const char* name;
        void (*convert)(const uint8_t*, uint32_t*, int32_t);
        bool usable;
    };
    __builtin_cpu_init();
    const kernel kernels[] = {
        {"avx2", palette_row_avx2, __builtin_cpu_supports("avx2") != 0},
        {"avx512", palette_row_avx512, __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw")},
    };
    for (const kernel& k : kernels) {
        if (!k.usable) continue;
        SCOPED_TRACE(k.name);
        for (int32_t n = 0; n <= 70; n++) {
            for (uint32_t limit : {16u, 256u}) {
                std::vector<uint8_t> in(static_cast<size_t>(n));
                for (uint8_t& v : in) v = static_cast<uint8_t>(random() % limit);
                std::vector<uint32_t> expected(in.size() + 1, 0xDEADBEEF), got(in.size() + 1, 0xDEADBEEF);
                palette_row_plain(in.data(), expected.data(), n);
                k.convert(in.data(), got.data(), n);
                EXPECT_EQ(got, expected) << "n " << n << " indices below " << limit;
            }
        }
    }
}
