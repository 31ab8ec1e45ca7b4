// The image table: reserved slots, slot reuse, growth without moving records,
// ownership on release, and the first handles after a text screen is built.
#include <cstdlib>
#include <set>

#include "image/image_fixture.h"
#include "image/image_properties.h"
#include "image/image_statements.h"

using ImageTable = ImageTest;

TEST_F(ImageTable, StartUpReservesIndicesZeroAndOne) {
    EXPECT_EQ(image_table_next(), 2);
    EXPECT_EQ(image_table_size(), img_chunk_records);
    EXPECT_FALSE(img_get(0)->valid);
    EXPECT_FALSE(img_get(1)->valid);
    EXPECT_EQ(freeimg(0), 0);
    EXPECT_EQ(freeimg(1), 0);
    EXPECT_EQ(freeimg(static_cast<uint32_t>(image_table_size())), 0);
    EXPECT_EQ(freeimg(0xFFFFFFFF), 0);
    EXPECT_EQ(newimg(), 2);
}

TEST_F(ImageTable, FirstImagesAfterTheTextScreenAndReuseLastFreedFirst) {
    screen(0);  // eight text pages take indices 2 to 9
    int32_t h = func__newimage(10, 10, 32, 1);
    EXPECT_EQ(h, -10);
    sub__freeimage(h, 1);
    EXPECT_EQ(func__newimage(10, 10, 32, 1), h);

    int32_t h2 = func__newimage(4, 4, 13, 1);
    int32_t h3 = func__newimage(4, 4, 13, 1);
    sub__freeimage(h2, 1);
    sub__freeimage(h3, 1);
    EXPECT_EQ(func__newimage(4, 4, 256, 1), h3);
    EXPECT_EQ(func__newimage(4, 4, 256, 1), h2);
    EXPECT_EQ(new_error, 0);
}

TEST_F(ImageTable, GrowthKeepsRecordsInPlaceAndHandlesContiguous) {
    screen(12);
    img_struct* shown = display_page();
    img_struct* first = nullptr;
    int32_t previous = 0;
    for (int i = 0; i < 5000; i++) {
        int32_t h = func__newimage(2, 2, 32, 1);
        ASSERT_LT(h, 0);
        if (i) {
            EXPECT_EQ(h, previous - 1);
        } else {
            first = img_get(-h);
        }
        previous = h;
    }
    EXPECT_EQ(image_table_size(), 2 * img_chunk_records);
    EXPECT_EQ(display_page(), shown);
    EXPECT_EQ(display_page(), img_get(display_page_index()));
    EXPECT_EQ(first->width, 2);
    EXPECT_TRUE(first->valid);
}

TEST_F(ImageTable, FreeStackGrowsBeyondItsFirstCapacity) {
    screen(13);
    std::vector<int32_t> handles;
    for (int i = 0; i < img_chunk_records + 10; i++) handles.push_back(func__newimage(1, 1, 32, 1));
    for (int32_t h : handles) sub__freeimage(h, 1);
    EXPECT_EQ(new_error, 0);
    std::set<int32_t> again;
    for (size_t i = 0; i < handles.size(); i++) again.insert(func__newimage(1, 1, 32, 1));
    EXPECT_EQ(again, std::set<int32_t>(handles.begin(), handles.end()));
    int32_t fresh = func__newimage(1, 1, 32, 1);
    EXPECT_EQ(fresh, -(image_table_next() - 1));
}

TEST_F(ImageTable, ReleaseFreesOnlyOwnedBuffers) {
    screen(13);
    // A page over conventional memory sharing nothing, and a page sharing page 0's palette.
    int32_t shared = imgnew(8, 8, 13);
    img_struct* im = img_get(shared);
    free(im->palette);
    im->flags &= ~IMG_FREEPALETTE;
    im->palette = write_page()->palette;
    image_release(shared);  // under ASan a wrong free of page 0's palette would fail here
    EXPECT_FALSE(img_get(shared)->valid);
    EXPECT_EQ(palette_get(write_page()->palette, 15), palette_256[15]);

    int32_t framed = imgframe(cmem + 0xA0000, 320, 200, 13);
    image_release(framed);
    EXPECT_FALSE(img_get(framed)->valid);
}

TEST_F(ImageTable, FreeingAnImageReleasesItsMemLock) {
    screen(13);
    int32_t h = func__newimage(4, 4, 32, 1);
    mem_block b = func__memimage(h, 1);
    ASSERT_EQ(b.lock->id, b.lock_id);
    image_release(-h);
    EXPECT_NE(b.lock->id, b.lock_id);
}
