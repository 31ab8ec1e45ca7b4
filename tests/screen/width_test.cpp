// WIDTH and _FONT: geometry sequences per mode, refused geometries that change
// nothing, the 32-bit resize, page freeing, LOCATE's 80 x 50 switch and the fonts.
#include <string>
#include <vector>

#include "draw/coordinates.h"
#include "image/image_fixture.h"
#include "image/image_handle.h"
#include "image/image_properties.h"
#include "image/image_statements.h"
#include "image/printer_page.h"
#include "memory/mem_block.h"
#include "platform/pty_fixture.h"
#include "screen/font_statement.h"
#include "screen/width.h"
#include "support/peak_memory.h"
#include "text/text_cursor.h"
#include "text/text_image.h"

namespace {

class Width : public ImageTest {
protected:
    void SetUp() override {
        ImageTest::SetUp();
        printer_page_reset_for_tests();
        text_cursor_reset_for_tests();
    }
    static void width(int32_t columns, int32_t rows, int32_t passed) { zvsub_width(0, columns, rows, 0, 0, passed); }
};

// Page 0 as seen by a program: mode, size (cells for text, pixels otherwise), font.
struct shape {
    int32_t mode, width, height, font;
    bool operator==(const shape&) const = default;
};
std::ostream& operator<<(std::ostream& o, const shape& s) {
    return o << "mode " << s.mode << " " << s.width << "x" << s.height << " font " << s.font;
}
shape page0() {
    const img_struct* im = img_get(page_index(0));
    return {im->legacy_mode, im->width, im->height, im->font};
}

struct width_step {
    int32_t columns, rows, passed;
    shape after;
};
struct width_sequence {
    const char* name;
    int32_t mode;
    std::vector<width_step> steps;
};

TEST_F(Width, GeometrySequencesFollowTheModeTable) {
    const width_sequence sequences[] = {
        {"text 40 then ,50", 0, {{40, 0, 1, {0, 40, 25, 17}}, {0, 50, 2, {0, 40, 50, 9}}}},
        {"text 80,43 then 80,60", 0, {{80, 43, 3, {0, 80, 43, 14}}, {80, 60, 3, {0, 80, 60, 8}}}},
        {"text 80,25 again", 0, {{80, 25, 3, {0, 80, 25, 16}}}},
        {"SCREEN 12 60, 30, 25 rows",
         12,
         {{80, 60, 3, {12, 640, 480, 8}}, {80, 30, 3, {12, 640, 480, 16}}, {80, 25, 3, {0, 80, 25, 16}}}},
        {"SCREEN 12 40", 12, {{40, 0, 1, {0, 40, 25, 17}}}},
        {"SCREEN 12 ,50", 12, {{0, 50, 2, {0, 80, 50, 8}}}},
        {"SCREEN 9 ,43 then ,25", 9, {{0, 43, 2, {9, 640, 350, 8}}, {0, 25, 2, {9, 640, 350, 14}}}},
        {"SCREEN 9 80 keeps the tall font", 9, {{80, 0, 1, {9, 640, 350, 14}}}},
        {"SCREEN 13 40,25", 13, {{40, 25, 3, {13, 320, 200, 8}}}},
        {"SCREEN 13 80,50", 13, {{80, 50, 3, {0, 80, 50, 8}}}},
        {"SCREEN 2 ,25 then 40", 2, {{0, 25, 2, {2, 640, 200, 8}}, {40, 0, 1, {0, 40, 25, 17}}}},
    };
    for (const width_sequence& s : sequences) {
        SCOPED_TRACE(s.name);
        screen(s.mode);
        for (const width_step& step : s.steps) {
            width(step.columns, step.rows, step.passed);
            ASSERT_EQ(take_error(), 0);
            EXPECT_EQ(page0(), step.after);
            EXPECT_EQ(write_page_index(), page_index(0));
            EXPECT_EQ(display_page_index(), page_index(0));
        }
    }
}

TEST_F(Width, FontSwitchesClearThePageButTheSameFontOnModes1To10DoesNot) {
    // SCREEN 13 already has font 8: nothing is touched.
    screen(13);
    write_page()->pixels[1234] = 9;
    width(40, 25, 3);
    EXPECT_EQ(write_page()->pixels[1234], 9);
    // SCREEN 9 ,25 keeps font 14 and the pixels; 80, 25 (both given) switches anyway.
    screen(9);
    write_page()->pixels[1234] = 9;
    width(0, 25, 2);
    EXPECT_EQ(write_page()->pixels[1234], 9);
    width(80, 25, 3);
    EXPECT_EQ(write_page()->pixels[1234], 0);
    // Modes 11 and 12 switch every time, even to the font they have.
    screen(12);
    write_page()->color = 4;
    write_page()->pixels[1234] = 9;
    width(80, 30, 3);
    EXPECT_EQ(write_page()->pixels[1234], 0);
    EXPECT_EQ(write_page()->color, 4u);
    EXPECT_EQ(take_error(), 0);
}

TEST_F(Width, SwitchBAppliesTheOldWindowAgainAndLeavesCoordinatesUnmapped) {
    screen(12);
    zvg_sub_window(0, 0, 319, 239, 1 | 2);
    width(80, 60, 3);
    ASSERT_EQ(take_error(), 0);
    const img_graphics_state& g = write_page()->graphics;
    EXPECT_EQ(g.clipping_or_scaling, 0);
    EXPECT_EQ(g.window_x2, 319.0f);
    EXPECT_EQ(g.window_y2, 239.0f);
    EXPECT_FLOAT_EQ(g.scaling_x, 639.0f / 319.0f);
    EXPECT_EQ(write_page()->font, 8);
    EXPECT_EQ(write_page()->bottom_row, 59);
}

struct refused {
    const char* name;
    int32_t mode;
    int32_t device, columns, rows, passed;
    int32_t error;
};

TEST_F(Width, RefusedGeometriesRaiseTheirErrorAndChangeNothing) {
    const refused cases[] = {
        {"nothing given", 0, 0, 0, 0, 0, 5},
        {"WIDTH 0", 0, 0, 0, 0, 1, 5},
        {"WIDTH ,0", 0, 0, 0, 0, 2, 5},
        {"WIDTH 40000", 0, 0, 40000, 0, 1, 5},
        {"SCREEN 12: WIDTH 70", 12, 0, 70, 0, 1, 5},
        {"SCREEN 12: WIDTH 80, 31", 12, 0, 80, 31, 3, 5},
        {"SCREEN 13: WIDTH ,24", 13, 0, 0, 24, 2, 5},
        {"SCREEN 9: WIDTH 60, 25", 9, 0, 60, 25, 3, 5},
        {"WIDTH LPRINT 0", 0, 2, 0, 0, 1, 5},
        {"WIDTH LPRINT 256", 0, 2, 256, 0, 1, 5},
        {"WIDTH LPRINT 80, 2", 0, 2, 80, 2, 3, 5},
        {"device 3", 0, 3, 80, 0, 1, 5},
    };
    for (const refused& k : cases) {
        SCOPED_TRACE(k.name);
        screen(k.mode);
        img_struct* im = write_page();
        im->pixels[6] = 0x41;
        shape before = page0();
        int32_t index = page_index(0);
        zvsub_width(k.device, k.columns, k.rows, 0, 0, k.passed);
        EXPECT_EQ(take_error(), k.error);
        EXPECT_EQ(page_index(0), index);
        EXPECT_EQ(page0(), before);
        EXPECT_EQ(img_get(index)->pixels[6], 0x41);
        EXPECT_EQ(width_lprint(), 80);
    }
}

TEST_F(Width, TextBeyondTheCellBoundIsOutOfMemoryAtOnce) {
    const struct {
        int32_t columns, rows;
        int32_t error;
    } cases[] = {
        {32767, 32767, 7}, {11088, 12800, 7}, {4097, 4096, 7}, {32767, 513, 7}, {32768, 10, 5},
    };
    screen(0);
    int32_t index = page_index(0);
    img_get(index)->pixels[6] = 0x41;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.columns) + " x " + std::to_string(c.rows));
        int64_t peak = peak_resident_bytes();
        width(c.columns, c.rows, 3);
        EXPECT_EQ(take_error(), c.error);
        EXPECT_LT(peak_resident_bytes() - peak, int64_t(64) << 20) << "memory touched on the way to the error";
        EXPECT_EQ(page_index(0), index);
        EXPECT_EQ(page0(), (shape{0, 80, 25, 16}));
        EXPECT_EQ(img_get(index)->pixels[6], 0x41);
        EXPECT_EQ(page_entries().size(), 8u);
    }
}

TEST_F(Width, LargeTextScreensMakeOnlyThePagesInUse) {
    screen(0);
    // 4096 x 4096 is within the bound: page 0 alone, 32 MiB of cells, not eight pages.
    int64_t peak = peak_resident_bytes();
    width(4096, 4096, 3);
    ASSERT_EQ(take_error(), 0);
    EXPECT_EQ(page0(), (shape{0, 4096, 4096, 8}));
    EXPECT_EQ(page_entries().size(), 1u);
    EXPECT_LT(peak_resident_bytes() - peak, int64_t(128) << 20);

    // 132 x 60 cells: conventional memory holds pages 0 to 3; 4 to 7 come with their use.
    width(132, 60, 3);
    ASSERT_EQ(take_error(), 0);
    ASSERT_EQ(page_entries().size(), 4u);
    for (const auto& [n, index] : page_entries()) EXPECT_EQ(img_get(index)->pixels, cmem + 0xB8000 + 15840 * n) << n;
    img_struct* p0 = img_get(page_index(0));
    p0->cursor_show = 1;
    p0->cursor_firstvalue = 0;
    p0->cursor_lastvalue = 7;
    zvg_screen(0, 0, 6, 6, 0, 4 | 8);
    ASSERT_EQ(take_error(), 0);
    ASSERT_NE(page_index(6), 0);
    EXPECT_EQ(page_index(5), 0);
    const img_struct* p6 = img_get(page_index(6));
    EXPECT_EQ(write_page_index(), page_index(6));
    EXPECT_EQ(display_page_index(), page_index(6));
    EXPECT_EQ(p6->width, 132);
    EXPECT_EQ(p6->height, 60);
    EXPECT_EQ(p6->font, p0->font);
    EXPECT_TRUE(p6->flags & IMG_SCREEN);
    EXPECT_TRUE(p6->flags & IMG_FREEPALETTE) << "each text page of the set keeps a palette of its own";
    EXPECT_NE(p6->palette, p0->palette);
    EXPECT_EQ(p6->palette[1], p0->palette[1]);
    EXPECT_EQ(p6->cursor_show, 1);
    EXPECT_EQ(p6->cursor_firstvalue, 0);
    EXPECT_EQ(p6->cursor_lastvalue, 7);
    EXPECT_EQ(p6->pixels[0], 0x20);
    EXPECT_EQ(p6->pixels[1], 0x07);
    // Pages beyond the set share page 0's palette, as before.
    int32_t p9 = validatepage(9);
    ASSERT_NE(p9, 0);
    EXPECT_EQ(img_get(p9)->palette, p0->palette);
}

TEST_F(Width, LprintWidthAndPendingErrors) {
    zvsub_width(2, 132, 0, 0, 0, 1);
    EXPECT_EQ(width_lprint(), 132);
    screen(0);
    error(5);
    width(40, 0, 1);
    EXPECT_EQ(page0(), (shape{0, 80, 25, 16}));
}

TEST_F(Width, ThirtyTwoBitScreenResizesToWholeCellsAndDropsMemimageBlocks) {
    int32_t handle = func__newimage(640, 480, 32, 1);
    zvg_screen(handle, 0, 0, 0, 0, 1);
    ASSERT_EQ(take_error(), 0);
    img_struct* im = write_page();
    im->color = 0xFF112233;
    im->background_color = 0xFF000044;
    set_pixel32(im, 10, 10, 0xFFFFFFFF);
    mem_block block = func__memimage(0, 1);
    ASSERT_EQ(block.lock->id, block.lock_id);

    width(100, 30, 3);
    ASSERT_EQ(take_error(), 0);
    im = write_page();
    EXPECT_EQ(im->width, 800);
    EXPECT_EQ(im->height, 480);
    EXPECT_EQ(im->font, 16);
    EXPECT_EQ(im->color, 0xFF112233u);
    EXPECT_EQ(im->background_color, 0xFF000044u);
    EXPECT_EQ(im->graphics.view_x2, 799);
    for (int32_t y = 0; y < 480; y += 7)
        for (int32_t x = 0; x < 800; x += 3) ASSERT_EQ(pixel32(im, x, y), 0u) << x << "," << y;
    EXPECT_NE(block.lock->id, block.lock_id);

    // The same size again changes nothing; beyond 65535 pixels is refused.
    set_pixel32(im, 5, 5, 7);
    width(100, 0, 1);
    EXPECT_EQ(pixel32(im, 5, 5), 7u);
    width(10000, 10, 3);
    EXPECT_EQ(take_error(), 5);
    EXPECT_EQ(im->width, 800);
    width(0, 30, 3);
    EXPECT_EQ(take_error(), 5);
}

TEST_F(Width, FreesTheOtherPagesAndWorksOnPageZero) {
    screen(12);
    zvg_screen(12, 0, 1, 1, 0, 1 | 4 | 8);
    ASSERT_EQ(take_error(), 0);
    ASSERT_NE(page_index(1), 0);
    ASSERT_EQ(write_page_index(), page_index(1));
    width(80, 60, 3);
    ASSERT_EQ(take_error(), 0);
    int32_t p0 = page_index(0);
    EXPECT_EQ(page_index(1), 0);
    EXPECT_EQ(write_page_index(), p0);
    EXPECT_EQ(read_page_index(), p0);
    EXPECT_EQ(display_page_index(), p0);
    EXPECT_EQ(img_get(p0)->font, 8);
    // The page is made again on demand.
    int32_t again = validatepage(1);
    ASSERT_NE(again, 0);
    EXPECT_EQ(img_get(again)->font, 8);
}

TEST_F(Width, LocateBelowTheStartUpScreenSwitchesTo80By50) {
    screen(0);
    set_locate_width(width_columns_rows);
    width8050switch = 1;
    zvg_sub_locate(40, 1, 0, 0, 0, 1 | 2);
    ASSERT_EQ(take_error(), 0);
    EXPECT_EQ(page0(), (shape{0, 80, 50, 8}));
    EXPECT_EQ(func_csrlin(), 40);
    EXPECT_EQ(width8050switch, 0);
}

TEST_F(Width, RunResetIsWidth80By25) {
    screen(0);
    width(40, 50, 3);
    width_80_25();
    EXPECT_EQ(page0(), (shape{0, 80, 25, 16}));
}

TEST_F(Width, OnTheConsoleItAsksTheTerminalAndKeepsMissingValues) {
    pseudo_terminal pty(100, 30);
    screen_console_image_init();
    set_write_page(-console_image());
    EXPECT_EQ(console_columns(), 100);
    width(90, 40, 3);
    EXPECT_EQ(pty.output(), "\x1b[8;40;90t");
    EXPECT_EQ(console_columns(), 90);
    EXPECT_EQ(console_rows(), 40);
    width(0, 35, 2);  // columns stay
    EXPECT_EQ(pty.output(), "\x1b[8;35;90t");
    width(0, 0, 0);  // no error on the console
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(pty.output(), "\x1b[8;35;90t");
}

// A size beyond any terminal is the resize the console cannot make: it ends without
// an error and changes nothing. Each case runs in a child under a memory limit, so
// that a shadow grid of that size fails there instead of taking the machine's memory.
TEST_F(Width, OnTheConsoleASizeNoTerminalCanShowChangesNothing) {
    struct size_case {
        int32_t columns, rows;
        bool resized;
    };
    const size_case cases[] = {
        {32767, 32767, false},
        {console_max_side + 1, 30, false},
        {100, console_max_side + 1, false},
        {console_max_side, console_max_side, true},
        {200, 60, true},
    };
    pseudo_terminal pty(100, 30);
    screen_console_image_init();
    set_write_page(-console_image());
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.columns) + " x " + std::to_string(c.rows));
        int result = in_memory_limited_child(int64_t(64) << 20, [&] {
            width(c.columns, c.rows, 3);
            if (take_error() != 0) return 1;
            bool sized = console_columns() == (c.resized ? c.columns : 100) && console_rows() == (c.resized ? c.rows : 30);
            return sized ? 0 : 2;
        });
        EXPECT_EQ(result, 0) << "1: an error, 2: the wrong size, above 1000: killed by a signal";
        std::string asked = "\x1b[8;" + std::to_string(c.rows) + ";" + std::to_string(c.columns) + "t";
        EXPECT_EQ(pty.output(), c.resized ? asked : "");
    }
}

TEST_F(Width, OnAConsoleThatIsAPipeNothingIsWrittenButTheSizeIsKept) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    FILE* out = fdopen(fds[1], "w");
    console_terminal_use(STDIN_FILENO, out);
    screen_console_image_init();
    set_write_page(-console_image());
    width(90, 40, 3);
    fflush(out);
    pollfd p{fds[0], POLLIN, 0};
    EXPECT_EQ(poll(&p, 1, 0), 0);
    EXPECT_EQ(console_columns(), 90);
    console_clear();  // a new measurement keeps the asked size
    EXPECT_EQ(console_rows(), 40);
    // A size that no terminal can show is not kept for later measurements.
    int result = in_memory_limited_child(int64_t(64) << 20, [] {
        width(32767, 32767, 3);
        console_clear();
        return take_error() == 0 && console_columns() == 90 && console_rows() == 40 ? 0 : 1;
    });
    EXPECT_EQ(result, 0);
    console_terminal_reset_for_tests();
    fclose(out);
    close(fds[0]);
}

using Font = Width;

TEST_F(Font, OnTheTextScreenEveryPageTakesTheFontAndCursorsStay) {
    screen(0);
    set_cursor_y(write_page(), 5);
    set_cursor_x(write_page(), 7);
    sub__font(8, 0, 0);
    ASSERT_EQ(take_error(), 0);
    auto pages = page_entries();
    EXPECT_EQ(pages.size(), 8u);
    for (auto [n, index] : pages) EXPECT_EQ(img_get(index)->font, 8) << n;
    EXPECT_EQ(cursor_y(write_page()), 5);
    EXPECT_EQ(cursor_x(write_page()), 7);
    sub__font(17, 0, 0);  // double width is fine on text
    EXPECT_EQ(take_error(), 0);
}

TEST_F(Font, OnAGraphicsPageTheCursorAndViewPrintStartAgain) {
    screen(12);
    set_cursor_y(write_page(), 5);
    sub__font(8, 0, 0);
    ASSERT_EQ(take_error(), 0);
    EXPECT_EQ(write_page()->font, 8);
    EXPECT_EQ(cursor_y(write_page()), 1);
    EXPECT_EQ(cursor_x(write_page()), 1);
    EXPECT_EQ(write_page()->bottom_row, 59);
}

TEST_F(Font, ErrorsLeaveTheFontAlone) {
    struct {
        int32_t mode, font, handle, passed, error;
    } const cases[] = {
        {12, 17, 0, 0, 5}, {12, 9, 0, 0, 5}, {12, 20, 0, 0, 258}, {0, 20, 0, 0, 258},
        {0, 32, 0, 0, 258}, {12, 8, -99, 1, 258},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.font);
        screen(k.mode);
        int32_t before = write_page()->font;
        sub__font(k.font, k.handle, k.passed);
        EXPECT_EQ(take_error(), k.error);
        EXPECT_EQ(write_page()->font, before);
    }
}

TEST_F(Font, AHandleNamesTheImage) {
    screen(12);
    int32_t handle = func__newimage(320, 200, 13, 1);
    sub__font(14, handle, 1);
    ASSERT_EQ(take_error(), 0);
    EXPECT_EQ(img_get(-handle)->font, 14);
    EXPECT_EQ(img_get(-handle)->bottom_row, 13);
    EXPECT_EQ(write_page()->font, 16);
}

}  // namespace
