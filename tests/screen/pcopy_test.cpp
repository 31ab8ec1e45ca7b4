// PCOPY between pages and images.
#include "image/image_fixture.h"
#include "image/image_statements.h"
#include "screen/pcopy.h"

using Pcopy = ImageTest;

TEST_F(Pcopy, CopiesPageZeroOntoAPageItCreates) {
    screen(12);
    img_struct* p0 = write_page();
    for (size_t i = 0; i < 640 * 480; i++) p0->pixels[i] = static_cast<uint8_t>(i % 16);
    EXPECT_EQ(page_index(1), 0);
    sub_pcopy(0, 1);
    EXPECT_EQ(take_error(), 0);
    ASSERT_NE(page_index(1), 0);
    EXPECT_EQ(memcmp(img_get(page_index(1))->pixels, p0->pixels, 640 * 480), 0);
    // Text pages copy cells, here within conventional memory.
    screen(0);
    cmem[0xB8000] = 'Q';
    sub_pcopy(0, 7);
    EXPECT_EQ(cmem[0xB8000 + 7 * 4096], 'Q');
}

TEST_F(Pcopy, ImagesByHandle) {
    screen(13);
    int32_t a = func__newimage(320, 200, 256, 1);
    img_get(-a)->pixels[100] = 200;
    sub_pcopy(a, 0);
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(cmem[0xA0000 + 100], 200);
    sub_pcopy(a, a);  // the same record: nothing
    EXPECT_EQ(take_error(), 0);
}

TEST_F(Pcopy, MismatchesAndBadHandlesAreError5) {
    screen(12);
    int32_t wide = func__newimage(640, 480, 32, 1);
    int32_t deep = func__newimage(640, 480, 256, 1);
    int32_t small = func__newimage(640, 479, 12, 1);
    int32_t stale = func__newimage(4, 4, 32, 1);
    sub__freeimage(stale, 1);
    const struct {
        int32_t source, destination;
    } cases[] = {{wide, 0}, {0, wide}, {deep, 0}, {small, 0}, {stale, 0}, {0, stale}, {-100000, 0}};
    write_page()->pixels[0] = 1;
    for (const auto& c : cases) {
        sub_pcopy(c.source, c.destination);
        EXPECT_EQ(take_error(), 5) << c.source << " " << c.destination;
    }
    EXPECT_EQ(write_page()->pixels[0], 1);
    // A 4-bit page onto an 8-bit image is fine: its mask holds every value.
    sub_pcopy(0, deep);
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(img_get(-deep)->pixels[0], 1);
}
