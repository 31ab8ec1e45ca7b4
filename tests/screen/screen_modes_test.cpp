// SCREEN: the page set of every legacy mode, page flips, adoption of an image,
// errors, and the pages in conventional memory.
#include <vector>

#include "display/display.h"
#include "draw/line.h"
#include "font/font_tables.h"
#include "image/image_fixture.h"
#include "image/image_handle.h"
#include "image/image_statements.h"
#include "screen/mode_defaults.h"

namespace {

class Screen : public ImageTest {
protected:
    static int32_t key_line_redraws;
    void SetUp() override {
        ImageTest::SetUp();
        key_line_redraws = 0;
        screen_set_key_line_redraw([] { key_line_redraws++; });
    }
    static void screen_pages(int32_t mode, int32_t active, int32_t visual, int32_t passed) {
        zvg_screen(mode, 0, active, visual, 0, passed);
    }
    static int32_t page_count() { return static_cast<int32_t>(page_entries().size()); }
    static uint16_t cell(const img_struct* im, int32_t column, int32_t row) {
        uint16_t v;
        memcpy(&v, im->pixels + 2 * (static_cast<size_t>(row - 1) * im->width + column - 1), 2);
        return v;
    }
};
int32_t Screen::key_line_redraws = 0;

struct geometry_row {
    int32_t mode;
    int32_t width, height;  // pixels, or cells of text pages
    uint8_t bits;
    int32_t columns, rows;  // text geometry
    int32_t font;
    int32_t pages;  // pages built by SCREEN
    uint32_t color;
};

}  // namespace

TEST_F(Screen, GeometryOfEveryMode) {
    const geometry_row rows[] = {
        {0, 80, 25, 16, 80, 25, 16, 8, 7},     {1, 320, 200, 2, 40, 25, 8, 1, 3},
        {2, 640, 200, 1, 80, 25, 8, 1, 1},     {7, 320, 200, 4, 40, 25, 8, 1, 15},
        {8, 640, 200, 4, 80, 25, 8, 1, 15},    {9, 640, 350, 4, 80, 25, 14, 1, 15},
        {10, 640, 350, 2, 80, 25, 14, 1, 3},   {11, 640, 480, 1, 80, 30, 16, 1, 1},
        {12, 640, 480, 4, 80, 30, 16, 1, 15},  {13, 320, 200, 8, 40, 25, 8, 1, 15},
        {256, 800, 600, 8, 100, 37, 16, 1, 15},
    };
    for (const geometry_row& r : rows) {
        SCOPED_TRACE(r.mode);
        int32_t mode = r.mode == 256 ? func__newimage(800, 600, 256, 1) : r.mode;
        zvg_screen(mode, 0, 0, 0, 0, 1);
        ASSERT_EQ(take_error(), 0);
        const img_struct* im = write_page();
        EXPECT_EQ(im, read_page());
        EXPECT_EQ(im, display_page());
        EXPECT_EQ(im, img_get(page_index(0)));
        EXPECT_TRUE(im->flags & IMG_SCREEN);
        EXPECT_EQ(im->legacy_mode, r.mode);
        EXPECT_EQ(im->width, r.width);
        EXPECT_EQ(im->height, r.height);
        EXPECT_EQ(im->bits_per_pixel, r.bits);
        EXPECT_EQ(im->font, r.font);
        int32_t columns = im->text ? im->width : im->width / fontwidth[im->font];
        int32_t text_rows = im->text ? im->height : im->height / fontheight[im->font];
        EXPECT_EQ(columns, r.columns);
        EXPECT_EQ(text_rows, r.rows);
        EXPECT_EQ(im->bottom_row, r.rows - 1);
        EXPECT_EQ(page_count(), r.pages);
        EXPECT_EQ(im->color, r.color);
    }
}

TEST_F(Screen, SameModeTwiceChangesNothing) {
    screen(12);
    int32_t p0 = page_index(0);
    img_get(p0)->pixels[5] = 9;
    screen_last_valid.store(1);
    key_line_redraws = 0;
    screen(12);
    EXPECT_EQ(page_index(0), p0);
    EXPECT_EQ(img_get(p0)->pixels[5], 9);
    EXPECT_EQ(screen_last_valid.load(), 1);
    EXPECT_EQ(key_line_redraws, 0);
    // A mode change redraws the KEY line and the whole frame.
    screen(13);
    EXPECT_EQ(key_line_redraws, 1);
    EXPECT_EQ(screen_last_valid.load(), 0);
}

TEST_F(Screen, TextPagesLieInConventionalMemoryAtB800) {
    memset(cmem + 0xB8000, 0x55, 65536);
    screen(0);
    for (int32_t n = 0; n < 8; n++) {
        const img_struct* page = img_get(page_index(n));
        EXPECT_EQ(page->pixels, cmem + 0xB8000 + 4096 * n) << n;
        EXPECT_FALSE(page->flags & IMG_FREEMEM);
        EXPECT_TRUE(page->flags & IMG_FREEPALETTE);  // each text page owns its palette
    }
    for (int64_t i = 0; i < 65536; i += 2) {
        ASSERT_EQ(cmem[0xB8000 + i], 0x20) << i;
        ASSERT_EQ(cmem[0xB8000 + i + 1], 0x07) << i;
    }
    // A POKE at B800 shows on page 0; a cell written on page 3 reads back through PEEK.
    sub_defseg(0xB800, 1);
    sub_poke(2 * (80 * 1 + 4), 'A');
    sub_poke(2 * (80 * 1 + 4) + 1, 0x1E);
    EXPECT_EQ(cell(write_page(), 5, 2), 0x1E41);
    img_struct* page3 = img_get(page_index(3));
    uint16_t z = 0x4F5A;
    memcpy(page3->pixels + 2 * (80 * 24 + 79), &z, 2);
    EXPECT_EQ(func_peek(3 * 4096 + 2 * (80 * 24 + 79)), 0x5A);
    EXPECT_EQ(func_peek(3 * 4096 + 2 * (80 * 24 + 79) + 1), 0x4F);
    sub_defseg(0, 0);
}

TEST_F(Screen, Screen13PageIsA000AndClearedOnEverySwitch) {
    screen(13);
    sub_line(3, 4, 10, 4, 42, 0, 0, 1 | 8);
    sub_defseg(0xA000, 1);
    for (int32_t x = 3; x <= 10; x++) EXPECT_EQ(func_peek(320 * 4 + x), 42) << x;
    EXPECT_EQ(func_peek(320 * 4 + 11), 0);
    sub_poke(320 * 199 + 319, 77);
    EXPECT_EQ(write_page()->pixels[63999], 77);
    sub_defseg(0, 0);
    EXPECT_EQ(write_page()->pixels, cmem + 0xA0000);
    screen(12);
    memset(cmem + 0xA0000, 7, 64000);
    screen(13);
    for (int64_t i = 0; i < 64000; i++) ASSERT_EQ(cmem[0xA0000 + i], 0) << i;
}

TEST_F(Screen, TextGeometryFollowsThePreviousScreenAndWidth) {
    // Each SCREEN 0 follows the one before it.
    const struct {
        int32_t pending_w, pending_h, pending_f;
        int32_t columns, rows, font;
        int64_t page_bytes;
    } cases[] = {
        {-1, -1, -1, 80, 25, 16, 4096},  // no page 0 yet
        {-1, -1, 8, 80, 25, 16, 4096},   // a lone font is ignored
        {40, 25, 17, 40, 25, 17, 2048},
        {80, 43, 14, 80, 43, 14, 6880},
        {40, -1, -1, 40, 43, 15, 3440},  // keeps 43 rows
        {80, 60, 8, 80, 60, 8, 9600},
        {80, 50, -1, 80, 50, 8, 8000},   // a missing font by the text-font rule
        {-1, 50, -1, 80, 50, 8, 8000},
        {40, -1, -1, 40, 50, 9, 4000},   // keeps 50 rows
        {-1, 25, -1, 40, 25, 17, 2048},  // keeps 40 columns
        {-1, 43, -1, 40, 43, 15, 3440},
        {80, 25, 16, 80, 25, 16, 4096},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.pending_w << "," << c.pending_h << "," << c.pending_f);
        sub_screen_width_in_characters = c.pending_w;
        sub_screen_height_in_characters = c.pending_h;
        sub_screen_font = c.pending_f;
        screen(0);
        const img_struct* im = write_page();
        EXPECT_EQ(im->width, c.columns);
        EXPECT_EQ(im->height, c.rows);
        EXPECT_EQ(im->font, c.font);
        EXPECT_EQ(img_get(page_index(1))->pixels - im->pixels, c.page_bytes);
        EXPECT_EQ(sub_screen_width_in_characters, -1);
        EXPECT_EQ(sub_screen_height_in_characters, -1);
        EXPECT_EQ(sub_screen_font, -1);
        // Pages outside conventional memory are made at their first use, with the font.
        for (int32_t n = 0; n < 8; n++) EXPECT_EQ(img_get(validatepage(n))->font, c.font) << n;
    }
}

TEST_F(Screen, PagesBeyondTheWindowHaveCellsOfTheirOwn) {
    // 80 x 60 pages take 9600 bytes: six fit the 64 KB at B800. The other two are made
    // at their first use.
    sub_screen_width_in_characters = 80;
    sub_screen_height_in_characters = 60;
    sub_screen_font = 8;
    screen(0);
    EXPECT_EQ(page_entries().size(), 6u);
    for (int32_t n = 0; n < 8; n++) {
        const img_struct* page = img_get(validatepage(n));
        bool in_window = n < 6;
        EXPECT_EQ(page->pixels == cmem + 0xB8000 + 9600 * n, in_window) << n;
        EXPECT_EQ(static_cast<bool>(page->flags & IMG_FREEMEM), !in_window) << n;
        EXPECT_EQ(cell(page, 80, 60), blank_text_cell);
    }
}

TEST_F(Screen, GraphicsFontsFollowThePreviousTextGeometry) {
    // A text screen of 80 x 60 gives SCREEN 12 font 8; 80 x 43 gives SCREEN 9 font 8.
    sub_screen_width_in_characters = 80;
    sub_screen_height_in_characters = 60;
    sub_screen_font = 8;
    screen(0);
    screen(12);
    EXPECT_EQ(write_page()->font, 8);
    EXPECT_EQ(write_page()->bottom_row, 59);
    screen(11);
    EXPECT_EQ(write_page()->font, 8);  // SCREEN 12's page was 80 x 60 cells too
    screen(13);
    screen(12);
    EXPECT_EQ(write_page()->font, 16);
    sub_screen_width_in_characters = 80;
    sub_screen_height_in_characters = 43;
    sub_screen_font = 14;
    screen(0);
    screen(9);
    EXPECT_EQ(write_page()->font, 8);
    // A graphics page of 80 x 43 cells gives SCREEN 0 80 x 43 with font 8.
    screen(0);
    EXPECT_EQ(write_page()->width, 80);
    EXPECT_EQ(write_page()->height, 43);
    EXPECT_EQ(write_page()->font, 8);
}

TEST_F(Screen, ActiveAndVisualPages) {
    screen(12);
    int32_t p0 = page_index(0);
    screen_pages(12, 1, 0, 1 | 4);
    int32_t p1 = page_index(1);
    ASSERT_NE(p1, 0);
    EXPECT_EQ(write_page_index(), p1);
    EXPECT_EQ(read_page_index(), p1);
    EXPECT_EQ(display_page_index(), p1);
    screen_pages(12, 1, 0, 1 | 4 | 8);
    EXPECT_EQ(write_page_index(), p1);
    EXPECT_EQ(display_page_index(), p0);
    // Drawing goes to page 1 while page 0 is shown.
    sub_line(0, 0, 3, 0, 5, 0, 0, 1 | 8);
    EXPECT_EQ(img_get(p1)->pixels[3], 5);
    EXPECT_EQ(img_get(p0)->pixels[3], 0);
    // Without a mode, pages of the current mode.
    screen_pages(0, 2, 0, 4);
    EXPECT_EQ(write_page_index(), page_index(2));
    EXPECT_EQ(display_page_index(), page_index(2));
    EXPECT_EQ(take_error(), 0);
}

TEST_F(Screen, ActivePageTakesTheGraphicsStateOfThePreviousOne) {
    screen(12);
    img_graphics_state& g0 = write_page()->graphics;
    g0.view_x1 = 10;
    g0.view_x2 = 99;
    g0.clipping_or_scaling = 1;
    g0.x = 7;
    screen_pages(12, 1, 0, 1 | 4);
    const img_graphics_state& g1 = write_page()->graphics;
    EXPECT_EQ(g1.view_x1, 10);
    EXPECT_EQ(g1.view_x2, 99);
    EXPECT_EQ(g1.clipping_or_scaling, 1);
    EXPECT_EQ(g1.x, 7);
    // Defaults applied to the new write image.
    write_page()->color = 3;
    screen_pages(12, 0, 0, 1 | 4);
    EXPECT_EQ(write_page()->color, 15);
}

TEST_F(Screen, ActivePageSkipsTheCopyWhenThePreviousPageIsGone) {
    screen(12);
    screen_pages(12, 1, 0, 1 | 4);
    // What WIDTH does when it frees the other pages.
    int32_t p1 = page_index(1);
    set_write_page(page_index(0));
    set_read_page(page_index(0));
    set_display_page(page_index(0));
    image_release(p1);
    page_set(1, 0);
    img_get(0)->graphics = {};  // the reserved record must not be read
    screen_pages(12, 2, 0, 1 | 4);
    const img_graphics_state& g = write_page()->graphics;
    EXPECT_EQ(g.view_x2, 639);
    EXPECT_EQ(g.view_y2, 479);
    sub_line(5, 5, 5, 5, 2, 0, 0, 1 | 8);
    EXPECT_EQ(write_page()->pixels[5 * 640 + 5], 2);
}

TEST_F(Screen, ErrorsChangeNothing) {
    screen(12);
    int32_t p0 = page_index(0);
    const struct {
        int32_t mode, active, visual, passed, error;
    } cases[] = {
        {3, 0, 0, 1, 5},       {4, 0, 0, 1, 5},   {6, 0, 0, 1, 5},        {14, 0, 0, 1, 5},
        {256, 0, 0, 1, 5},     {32, 0, 0, 1, 5},  {-1, 0, 0, 1, 258},     {-100000, 0, 0, 1, 258},
        {12, -1, 0, 1 | 4, 5}, {12, 1, -1, 1 | 4 | 8, 5},
    };
    for (const auto& c : cases) {
        zvg_screen(c.mode, 0, c.active, c.visual, 0, c.passed);
        EXPECT_EQ(take_error(), c.error) << c.mode << " " << c.active << " " << c.visual;
        EXPECT_EQ(page_index(0), p0);
        EXPECT_EQ(write_page_index(), p0);
        EXPECT_EQ(display_page_index(), p0);
        EXPECT_EQ(page_count(), 1);
    }
    // Nothing at all while an error is pending.
    error(9);
    zvg_screen(13, 0, 0, 0, 0, 1);
    EXPECT_EQ(take_error(), 9);
    EXPECT_EQ(page_index(0), p0);
}

TEST_F(Screen, HandleOfAnotherPageIsRefused) {
    screen(12);
    screen_pages(12, 1, 0, 1 | 4);
    int32_t page1 = func__dest();
    zvg_screen(page1, 0, 0, 0, 0, 1);
    EXPECT_EQ(take_error(), 5);
    EXPECT_TRUE(img_get(-page1)->valid);
    EXPECT_EQ(img_get(-page1)->legacy_mode, 12);
}

TEST_F(Screen, AdoptedImageReturnsToTheProgram) {
    screen(0);
    int32_t h = func__newimage(800, 600, 32, 1);
    zvg_screen(h, 0, 0, 0, 0, 1);
    ASSERT_EQ(take_error(), 0);
    EXPECT_EQ(func__display(), h);
    EXPECT_EQ(page_index(0), -h);
    EXPECT_EQ(page_count(), 1);
    EXPECT_EQ(sub_screen_keep_page0, 1);
    sub__freeimage(h, 1);
    EXPECT_EQ(take_error(), 5);
    screen(0);
    EXPECT_EQ(sub_screen_keep_page0, 0);
    EXPECT_TRUE(img_get(-h)->valid);
    EXPECT_FALSE(img_get(-h)->flags & IMG_SCREEN);
    EXPECT_EQ(img_get(-h)->width, 800);
    EXPECT_EQ(page_count(), 8);
    sub__freeimage(h, 1);
    EXPECT_EQ(take_error(), 0);
}

TEST_F(Screen, ProgramImagesSurviveAModeChangeAndDestMovesToPageZero) {
    screen(12);
    int32_t h = func__newimage(10, 10, 256, 1);
    sub__dest(h);
    screen(13);
    EXPECT_TRUE(img_get(-h)->valid);
    EXPECT_EQ(write_page_index(), page_index(0));
    EXPECT_EQ(read_page_index(), page_index(0));
}

TEST_F(Screen, Width8050SwitchIsClearedByEveryScreenButAPlainScreen0) {
    screen(0);
    width8050switch = 1;
    zvg_screen(0, 0, 0, 0, 0, 1);
    EXPECT_EQ(width8050switch, 1);
    zvg_screen(0, 1, 0, 0, 0, 1 | 2);
    EXPECT_EQ(width8050switch, 0);
    width8050switch = 1;
    screen_pages(0, 1, 0, 4);
    EXPECT_EQ(width8050switch, 0);
}

TEST_F(Screen, ConsoleImageIsAnEightyByTwentyFiveTextImage) {
    screen(0);
    screen_console_image_init();
    int32_t handle = console_image();
    ASSERT_LT(handle, 0);
    const img_struct* im = img_get(-handle);
    EXPECT_EQ(im->console, 1);
    EXPECT_EQ(im->text, 1);
    EXPECT_EQ(im->width, 80);
    EXPECT_EQ(im->height, 25);
    EXPECT_FALSE(im->flags & IMG_SCREEN);
    // After SCREEN 0's pages (indices 2-9), the console image takes index 10.
    EXPECT_EQ(handle, -10);
}

TEST_F(Screen, ImgrevertPutsTheModeDefaultsBackAndKeepsTheViewOrigin) {
    screen(12);
    img_struct* im = write_page();
    im->color = 3;
    im->background_color = 2;
    im->font = 8;
    im->print_mode = 1;
    im->palette[1] = 0x123456;
    im->clear_color = 4;
    im->graphics.view_x1 = 10;
    im->graphics.view_offset_x = 10;
    im->graphics.view_x2 = 20;
    im->graphics.scaling_x = 3;
    im->graphics.scaling_offset_x = 5;
    im->graphics.clipping_or_scaling = 2;
    im->graphics.draw_scale = 4;
    memset(im->pixels, 9, 640 * 480);
    imgrevert(page_index(0));
    EXPECT_EQ(im->color, 15);
    EXPECT_EQ(im->background_color, 0);
    EXPECT_EQ(im->font, 16);
    EXPECT_EQ(im->print_mode, 3);
    EXPECT_EQ(im->palette[1], palette_256[1]);
    EXPECT_EQ(im->clear_color, -1);
    EXPECT_EQ(im->graphics.view_x2, 639);
    EXPECT_EQ(im->graphics.scaling_x, 1);
    EXPECT_EQ(im->graphics.draw_scale, 1);
    EXPECT_EQ(im->graphics.view_x1, 10);
    EXPECT_EQ(im->graphics.view_offset_x, 10);
    EXPECT_EQ(im->graphics.scaling_offset_x, 5);
    EXPECT_EQ(im->graphics.clipping_or_scaling, 2);
    for (size_t i = 0; i < 640 * 480; i++) ASSERT_EQ(im->pixels[i], 0) << i;
    screen(0);
    im = write_page();
    memset(im->pixels, 0, 100);
    imgrevert(page_index(0));
    EXPECT_EQ(cell(im, 1, 1), blank_text_cell);
}
