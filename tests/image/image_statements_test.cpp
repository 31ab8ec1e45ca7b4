// _NEWIMAGE, _COPYIMAGE, _FREEIMAGE, _DEST, _SOURCE, pages made on demand, CLEAR's
// sweep and the handle errors.
#include <functional>

#include "image/hardware_image.h"
#include "image/image_fixture.h"
#include "image/image_handle.h"
#include "image/image_properties.h"
#include "image/image_statements.h"
#include "palette/palette_statements.h"

using ImageStatements = ImageTest;

namespace {

// Everything an error must leave alone.
struct table_state {
    int32_t next, write, read, display;
    size_t pages;
    bool operator==(const table_state&) const = default;
};
table_state state() {
    return {image_table_next(), write_page_index(), read_page_index(), display_page_index(), page_entries().size()};
}

}  // namespace

TEST_F(ImageStatements, BadHandlesAndArgumentsRaiseTheirErrorAndChangeNothing) {
    screen(12);
    int32_t h8 = func__newimage(8, 8, 256, 1);
    int32_t h32 = func__newimage(8, 8, 32, 1);
    int32_t hw = func__copyimage(h32, 33, 3);
    int32_t stale = func__newimage(8, 8, 32, 1);
    sub__freeimage(stale, 1);
    int32_t hw_freed = func__copyimage(h32, 33, 3);
    sub__freeimage(hw_freed, 1);
    ASSERT_EQ(take_error(), 0);

    struct row {
        const char* call;
        std::function<int32_t()> run;
        int32_t error;
        int32_t result;
    };
    const row rows[] = {
        {"_FREEIMAGE -1", [] { sub__freeimage(-1, 1); return 0; }, 258, 0},
        {"_DEST -1", [] { sub__dest(-1); return 0; }, 258, 0},
        {"_SOURCE stale", [&] { sub__source(stale); return 0; }, 258, 0},
        {"_DEST hardware", [&] { sub__dest(hw); return 0; }, 258, 0},
        {"_FREEIMAGE freed hardware", [&] { sub__freeimage(hw_freed, 1); return 0; }, 258, 0},
        {"_DEST empty hardware slot", [] { sub__dest(HARDWARE_IMG_HANDLE_OFFSET + 77); return 0; }, 258, 0},
        {"_DEST -2147483648", [] { sub__dest(INT32_MIN); return 0; }, 258, 0},
        {"_FREEIMAGE 0", [] { sub__freeimage(0, 1); return 0; }, 5, 0},
        {"_FREEIMAGE of the page", [] { sub__freeimage(0, 0); return 0; }, 5, 0},
        {"_FREEIMAGE _DEST of the page", [] { sub__freeimage(func__dest(), 1); return 0; }, 5, 0},
        {"_NEWIMAGE(0, 10)", [] { return func__newimage(0, 10, 0, 0); }, 5, 0},
        {"_NEWIMAGE(10, -1, 32)", [] { return func__newimage(10, -1, 32, 1); }, 5, 0},
        {"_NEWIMAGE(10, 10, 3)", [] { return func__newimage(10, 10, 3, 1); }, 5, 0},
        {"_NEWIMAGE(10, 10, 14)", [] { return func__newimage(10, 10, 14, 1); }, 5, 0},
        {"_NEWIMAGE(70000, 10, 32)", [] { return func__newimage(70000, 10, 32, 1); }, 5, 0},
        {"_NEWIMAGE(10, 65536, 256)", [] { return func__newimage(10, 65536, 256, 1); }, 5, 0},
        {"_NEWIMAGE(40000, 10, 0)", [] { return func__newimage(40000, 10, 0, 1); }, 5, 0},
        {"_NEWIMAGE(32767, 32767, 0)", [] { return func__newimage(32767, 32767, 0, 1); }, 0, -1},
        {"_COPYIMAGE(h8, 33)", [&] { return func__copyimage(h8, 33, 3); }, 5, -1},
        {"_COPYIMAGE(h32, 13)", [&] { return func__copyimage(h32, 13, 3); }, 5, -1},
        {"_COPYIMAGE(hardware)", [&] { return func__copyimage(hw, 0, 1); }, 258, 0},
        {"_COPYIMAGE(-1)", [] { return func__copyimage(-1, 0, 1); }, 258, 0},
    };
    for (const row& r : rows) {
        table_state before = state();
        EXPECT_EQ(r.run(), r.result) << r.call;
        EXPECT_EQ(take_error(), r.error) << r.call;
        EXPECT_TRUE(state() == before) << r.call;
    }
    EXPECT_TRUE(img_get(-h8)->valid);
    EXPECT_EQ(func__width(hw, 1), 8);
}

TEST_F(ImageStatements, ImagesBeyondTheByteLimitFailWithoutAnError) {
    screen(12);
    table_state before = state();
    EXPECT_EQ(func__newimage(65535, 65535, 32, 1), -1);
    EXPECT_EQ(take_error(), 0);
    EXPECT_TRUE(state() == before);
    EXPECT_LT(func__newimage(65535, 1, 32, 1), 0);
    EXPECT_LT(func__newimage(32767, 2, 0, 1), 0);
    EXPECT_EQ(take_error(), 0);
}

TEST_F(ImageStatements, FreeingTheCurrentImagesFallsBackToTheDisplayImage) {
    screen(12);
    int32_t h = func__newimage(10, 10, 32, 1);
    sub__dest(h);
    sub__source(h);
    EXPECT_EQ(func__dest(), h);
    EXPECT_EQ(func__source(), h);
    sub__freeimage(0, 0);  // the write image
    EXPECT_EQ(take_error(), 0);
    EXPECT_FALSE(img_get(-h)->valid);
    EXPECT_EQ(func__dest(), func__display());
    EXPECT_EQ(func__source(), func__display());
}

TEST_F(ImageStatements, PagesAreMadeOnDemandLikePageZeroAndShareItsPalette) {
    int32_t p0 = screen(12);
    img_get(p0)->font = 8;
    sub__dest(3);
    ASSERT_EQ(take_error(), 0);
    img_struct* p3 = write_page();
    EXPECT_EQ(write_page_index(), page_index(3));
    EXPECT_EQ(p3->width, 640);
    EXPECT_EQ(p3->height, 480);
    EXPECT_EQ(p3->legacy_mode, 12);
    EXPECT_EQ(p3->font, 8);
    EXPECT_EQ(p3->bottom_row, 59);
    EXPECT_EQ(p3->flags & (IMG_SCREEN | IMG_FREEPALETTE | IMG_FREEMEM), IMG_SCREEN | IMG_FREEMEM);
    EXPECT_EQ(p3->palette, img_get(p0)->palette);
    zvg_palette(1, 0x3F, 3);
    EXPECT_EQ(img_get(p0)->palette[1], 0x00FF0000u);

    // A huge page number makes one page, not a table of that size.
    EXPECT_EQ(func__width(2000000000, 1), 640);
    auto pages = page_entries();
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[2].first, 2000000000);
}

TEST_F(ImageStatements, CopyOfAScreenPageIsAProgramImageWithItsOwnBuffers) {
    int32_t p0 = screen(13);
    for (int i = 0; i < 64000; i++) cmem[0xA0000 + i] = static_cast<uint8_t>(i * 7);
    func__memimage(0, 1);  // page 0 gets a lock; the copy must not share it
    int32_t h = func__copyimage(0, 0, 1);
    ASSERT_LT(h, 0);
    img_struct* copy = img_get(-h);
    img_struct* page = img_get(p0);
    EXPECT_FALSE(copy->flags & IMG_SCREEN);
    EXPECT_EQ(copy->flags, IMG_FREEMEM | IMG_FREEPALETTE);
    EXPECT_EQ(copy->lock_id, 0u);
    EXPECT_EQ(copy->lock_pointer, nullptr);
    EXPECT_EQ(memcmp(copy->pixels, page->pixels, 64000), 0);
    EXPECT_TRUE(copy->pixels < cmem || copy->pixels >= cmem + cmem_size);
    EXPECT_NE(copy->palette, page->palette);
    EXPECT_EQ(copy->legacy_mode, 13);
    EXPECT_EQ(copy->color, page->color);

    sub__dest(h);
    zvg_palette(1, 0x3F, 3);
    EXPECT_EQ(copy->palette[1], 0x00FF0000u);
    EXPECT_EQ(page->palette[1], palette_256[1]);
    sub__freeimage(h, 1);
    EXPECT_EQ(take_error(), 0);
    EXPECT_TRUE(page->valid);
}

TEST_F(ImageStatements, NewImageWithoutModeTakesOverFromTheWriteImage) {
    int32_t p0 = screen(13);
    img_struct* page = img_get(p0);
    page->palette[5] = 0x123456;
    page->color = 4;
    page->background_color = 9;
    page->clear_color = 7;
    page->print_mode = 1;
    int32_t h = func__newimage(100, 50, 0, 0);
    ASSERT_LT(h, 0);
    img_struct* im = img_get(-h);
    EXPECT_EQ(im->legacy_mode, 13);
    EXPECT_EQ(im->palette[5], 0x123456u);
    EXPECT_NE(im->palette, page->palette);
    EXPECT_EQ(im->font, 8);
    EXPECT_EQ(im->bottom_row, 5);  // 50 / 8 rows
    EXPECT_EQ(im->color, 4u);
    EXPECT_EQ(im->background_color, 9u);
    EXPECT_EQ(im->clear_color, 7);
    EXPECT_EQ(im->print_mode, 1);
}

TEST_F(ImageStatements, ClearFreesProgramImagesOnly) {
    screen(0);
    int32_t console = func__newimage(80, 25, 0, 0);
    img_get(-console)->console = 1;
    set_console_image(console);
    int32_t a = func__newimage(5, 5, 32, 1);
    int32_t b = func__newimage(5, 5, 13, 1);
    sub__dest(b);
    sub__freeimage(console, 1);
    EXPECT_EQ(take_error(), 5);  // the console image cannot be freed
    freeallimages();
    EXPECT_FALSE(img_get(-a)->valid);
    EXPECT_FALSE(img_get(-b)->valid);
    EXPECT_TRUE(img_get(-console)->valid);
    for (auto [n, index] : page_entries()) EXPECT_TRUE(img_get(index)->valid) << n;
    EXPECT_EQ(func__dest(), func__display());
}

TEST_F(ImageStatements, CopyImageToHardwareCopiesThePixels) {
    screen(12);
    int32_t h = func__newimage(3, 2, 32, 1);
    set_pixel32(img_get(-h), 2, 1, 0x80123456);
    int32_t hw = func__copyimage(h, 33, 3);
    ASSERT_TRUE(hardware_img_handle_in_range(hw));
    hardware_img_struct* rec = get_hardware_img(hw);
    ASSERT_NE(rec, nullptr);
    EXPECT_EQ(rec->w, 3);
    EXPECT_EQ(rec->h, 2);
    EXPECT_EQ(rec->depthbuffer_mode, 1);
    EXPECT_EQ(rec->software_pixel_buffer[5], 0x80123456u);
    sub__freeimage(h, 1);
    EXPECT_EQ(get_hardware_img(hw)->software_pixel_buffer[5], 0x80123456u);
    EXPECT_EQ(func__height(hw, 1), 2);
}
