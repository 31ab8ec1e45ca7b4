// PAINT: colour fills held by borders (diagonals included), the 32-bit engines, tile
// patterns of every reader, errors, and the flood's storage (fronts, visited map).
#include <cstring>
#include <string>

#include "draw/coordinates.h"
#include "draw/paint.h"
#include "draw/raster_fixture.h"
#include "image/alpha_statements.h"

namespace {

class PaintTest : public RasterTest {
protected:
    void SetUp() override {
        RasterTest::SetUp();
        paint_reset_for_tests();
    }
    void TearDown() override {
        paint_reset_for_tests();
        RasterTest::TearDown();
    }
    // Sets the pixels of a palette image from a dump ('.' 0, hex digits).
    static void draw_picture(img_struct* im, const std::string& picture) {
        size_t i = 0;
        for (int32_t y = 0; y < im->height; y++, i++)
            for (int32_t x = 0; x < im->width; x++, i++) {
                char c = picture[i];
                im->pixels[static_cast<size_t>(y) * im->width + x] =
                    static_cast<uint8_t>(c == '.' ? 0 : c <= '9' ? c - '0' : c - 'A' + 10);
            }
    }
    static std::string blank(int32_t w, int32_t h, char c = '.') {
        std::string s;
        for (int32_t y = 0; y < h; y++) s += std::string(static_cast<size_t>(w), c) + "\n";
        return s;
    }
    static zvs text(const std::string& bytes) {
        zvs s{};
        s.text = reinterpret_cast<uint8_t*>(const_cast<char*>(bytes.data()));
        s.length = static_cast<int32_t>(bytes.size());
        return s;
    }
    static void paint(float x, float y, uint32_t col, uint32_t border) { sub_paint(x, y, col, border, nullptr, 2 | 4); }
    static void paint_tile(float x, float y, const std::string& bytes) {
        zvs t = text(bytes);
        sub_paint(x, y, &t, 0, nullptr, 2);
    }
};

const char* const outline_before = R"(
................
.44444444.......
.4.......4......
.4..2.....4.....
.4.........4....
.4..........4...
.4...........4..
.4...........4..
.4...........4..
.4...........4..
.4...........4..
.4...........4..
.4...........4..
.4444444444444..
................
................
)";

const char* const outline_after = R"(
................
.44444444.......
.444444444......
.4444444444.....
.44444444444....
.444444444444...
.4444444444444..
.4444444444444..
.4444444444444..
.4444444444444..
.4444444444444..
.4444444444444..
.4444444444444..
.4444444444444..
................
................
)";

}  // namespace

TEST_F(PaintTest, ADiagonalBorderHoldsTheFill) {
    img_struct* im = canvas(16, 16);
    draw_picture(im, golden(outline_before));
    paint(8, 8, 4, 4);
    // Inside all 4 (the colour-2 pixel included); outside and the diagonal untouched.
    EXPECT_EQ(dump(im), golden(outline_after));
    EXPECT_EQ(im->draw_color, 4u);
    EXPECT_TRUE(paint_visited_clear_for_tests());
}

TEST_F(PaintTest, StartOnTheBorderOrOutsideTheViewPaintsNothing) {
    img_struct* im = canvas(16, 16);
    im->pixels[5 * 16 + 5] = 2;
    paint(5, 5, 2, 2);
    EXPECT_EQ(dump(im), golden(R"(
................
................
................
................
................
.....2..........
................
................
................
................
................
................
................
................
................
................
)"));
    zvg_sub_view(2, 2, 8, 8, 0, 0, 1 | 2);
    paint(12, 12, 7, 3);
    EXPECT_EQ(im->graphics.x, 12.0f);
    EXPECT_EQ(im->draw_color, 7u);
    EXPECT_EQ(im->pixels[12 * 16 + 12], 0);
    // Border 0 under the start: nothing. Without a border the fill stops only at pixels
    // of the fill colour and at the VIEW, so the colour-2 pixel is painted.
    paint(3, 3, 1, 0);
    sub_paint(3, 3, 1, 0, nullptr, 2);
    EXPECT_EQ(dump(im), golden(R"(
................
................
..1111111.......
..1111111.......
..1111111.......
..1111111.......
..1111111.......
..1111111.......
..1111111.......
................
................
................
................
................
................
................
)"));
}

TEST_F(PaintTest, ThirtyTwoBitPixelsBlendOnceAndCompareBeforePainting) {
    screen(12);
    sub__dest(func__newimage(20, 12, 32, 1));
    img_struct* im = write_page();
    for (int32_t y = 0; y < 12; y++)
        for (int32_t x = 0; x < 20; x++) set_pixel32(im, x, y, 0xFF000000);
    sub_paint(5, 5, 0x80FF0000, 0xFF7F0000, nullptr, 2 | 4);
    for (int32_t y = 0; y < 12; y++)
        for (int32_t x = 0; x < 20; x++) ASSERT_EQ(pixel32(im, x, y), 0xFF7F0000u) << x << "," << y;
    EXPECT_EQ(im->draw_color, 0x80FF0000u);
    sub__dontblend(0, 0);
    set_pixel32(im, 3, 0, 0xFF00FF00);
    for (int32_t y = 0; y < 12; y++) set_pixel32(im, 10, y, 0xFF00FF00);
    sub_paint(0, 0, 0x12345678, 0xFF00FF00, nullptr, 2 | 4);
    EXPECT_EQ(pixel32(im, 0, 11), 0x12345678u);
    EXPECT_EQ(pixel32(im, 9, 5), 0x12345678u);
    EXPECT_EQ(pixel32(im, 11, 5), 0xFF7F0000u);
    EXPECT_EQ(pixel32(im, 3, 0), 0xFF00FF00u);
}

TEST_F(PaintTest, TileReadersByMode) {
    std::string five = "\x81\x42\x24\x18\xF0";
    zvs t = text(five);
    int32_t w, h;
    getptsize_4bpp(&t, &w, &h);
    EXPECT_EQ(w, 8);
    EXPECT_EQ(h, 2);
    // Row 0: planes 0x81, 0x42, 0x24, 0x18; row 1: plane 0 from 0xF0, others 0.
    const uint32_t row0[8] = {1, 2, 4, 8, 8, 4, 2, 1};
    for (int x = 0; x < 8; x++) EXPECT_EQ(getptcol_4bpp(&t, x, 0), row0[x]) << x;
    for (int x = 0; x < 8; x++) EXPECT_EQ(getptcol_4bpp(&t, x, 1), x < 4 ? 1u : 0u) << x;
    getptsize_1bpp(&t, &w, &h);
    EXPECT_EQ(w * 100 + h, 805);
    EXPECT_EQ(getptcol_1bpp(&t, 0, 0), 1u);
    EXPECT_EQ(getptcol_1bpp(&t, 1, 0), 0u);
    EXPECT_EQ(getptcol_1bpp(&t, 7, 0), 1u);
    getptsize_2bpp(&t, &w, &h);
    EXPECT_EQ(w * 100 + h, 405);
    EXPECT_EQ(getptcol_2bpp(&t, 0, 0), 2u);  // 0x81: 10 00 00 01
    EXPECT_EQ(getptcol_2bpp(&t, 3, 0), 1u);
    EXPECT_EQ(getptcol_2bpp(&t, 0, 4), 3u);  // 0xF0
    getptsize_8bpp(&t, &w, &h);
    EXPECT_EQ(w * 100 + h, 105);
    EXPECT_EQ(getptcol_8bpp(&t, 0, 4), 0xF0u);
}

TEST_F(PaintTest, TileOnScreen2AlternatesColumns) {
    screen(2);
    img_struct* im = write_page();
    paint_tile(0, 0, "\xAA");
    for (int32_t y = 0; y < im->height; y++)
        for (int32_t x = 0; x < im->width; x++)
            ASSERT_EQ(im->pixels[static_cast<size_t>(y) * im->width + x], x % 2 == 0 ? 1 : 0) << x << "," << y;
    EXPECT_TRUE(paint_visited_clear_for_tests());
}

TEST_F(PaintTest, TileWithoutBorderReplacesOneRegion) {
    img_struct* im = canvas(12, 8);
    draw_picture(im, golden(R"(
............
.11111......
.111111.....
.11..11.111.
.111111.111.
............
.11.........
............
)"));
    uint32_t colour_before = im->draw_color;
    // A 256-colour image reads 4-bit plane tiles: tile row 0 alternates 8 and 3 from
    // x 0, tile row 1 is all 3.
    paint_tile(2, 2, std::string("\x55\x55\x00\xAA\xFF\xFF\x00\x00\x00\x00\x00\x00", 8));
    EXPECT_EQ(dump(im), golden(R"(
............
.33333......
.383838.....
.33..33.111.
.383838.111.
............
.11.........
............
)"));
    EXPECT_EQ(im->draw_color, colour_before);
}

TEST_F(PaintTest, TileInMode13IsOneColumnTall) {
    screen(13);
    img_struct* im = write_page();
    std::string tile(200, '\0');
    for (int i = 0; i < 200; i++) tile[i] = static_cast<char>(i + 1);
    zvs t = text(tile);
    sub_paint(5, 5, &t, 0, nullptr, 2);
    for (int32_t y = 0; y < im->height; y++)
        for (int32_t x = 0; x < im->width; x += 53)
            ASSERT_EQ(im->pixels[static_cast<size_t>(y) * im->width + x], (y % 200) + 1) << x << "," << y;
}

TEST_F(PaintTest, ErrorsChangeNothing) {
    img_struct* im = canvas(8, 8);
    std::string bg = "x", empty;
    zvs b = text(bg), e = text(empty);
    sub_paint(1, 1, 3, 0, &b, 2 | 8);
    EXPECT_EQ(take_error(), 5);
    sub_paint(1, 1, &e, 0, nullptr, 2);
    EXPECT_EQ(take_error(), 5);
    sub_paint(1, 1, static_cast<zvs*>(nullptr), 0, nullptr, 0);
    EXPECT_EQ(take_error(), 5);
    EXPECT_EQ(dump(im), blank(8, 8));
    // A background string in the tile form is accepted and not used.
    std::string tile = "\x01";
    zvs t = text(tile);
    sub_paint(1, 1, &t, 0, &b, 2 | 8);
    EXPECT_EQ(take_error(), 0);
    sub__dest(func__newimage(8, 8, 32, 1));
    sub_paint(1, 1, &t, 0, nullptr, 2);
    EXPECT_EQ(take_error(), 5);
    sub_paint(1, 1, 3, 0, &b, 2 | 8);
    EXPECT_EQ(take_error(), 5);
    EXPECT_EQ(pixel32(write_page(), 1, 1), 0u);
    screen(0);
    sub_paint(1, 1, 3, 0, nullptr, 2);
    EXPECT_EQ(take_error(), 5);
    sub_paint(1, 1, &t, 0, nullptr, 2);
    EXPECT_EQ(take_error(), 5);
}

TEST_F(PaintTest, LargeImageFillsEveryPixelAndClearsTheMap) {
    screen(12);
    sub__dest(func__newimage(4000, 4000, 32, 1));
    img_struct* im = write_page();
    sub_paint(2000, 2000, 0xFF00FF00, 0, nullptr, 2);
    for (int32_t y = 0; y < 4000; y++)
        for (int32_t x = 0; x < 4000; x++) ASSERT_EQ(pixel32(im, x, y), 0xFF00FF00u) << x << "," << y;
    EXPECT_TRUE(paint_visited_clear_for_tests());
}

TEST_F(PaintTest, FrontsGrowFromATinyCapacity) {
    paint_reset_for_tests(4);
    img_struct* im = canvas(64, 64);
    paint(31, 17, 9, 9);
    EXPECT_EQ(dump(im), blank(64, 64, '9'));
    EXPECT_TRUE(paint_visited_clear_for_tests());
}
