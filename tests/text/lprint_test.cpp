// LPRINT onto the printer page: its layout (80 x 60 cells, wrap at the printer width,
// hand-over instead of scrolling), LPOS, what it leaves alone on the screen, the idle
// hand-over by the housekeeping thread and CLEAR keeping the page.
#include <cstring>
#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include "image/image_statements.h"
#include "lifecycle/main_loop.h"
#include "support/fake_clock.h"
#include "text/lprint.h"
#include "text/text_fixture.h"

namespace {

class Lprint : public TextTest {
protected:
    fake_clock clock;

    void SetUp() override {
        TextTest::SetUp();
        lprint_reset_for_tests();
        lprint_global_init();
        at_time(12, 0, 0, 0);
        sends = 0;
    }
    void TearDown() override {
        main_loop_set_hooks(nullptr);
        TextTest::TearDown();
    }

    static inline int sends = 0;
    static void count_send() { sends++; }

    static void at_time(int32_t h, int32_t m, int32_t s, int32_t ms) { fake_clock::local = {2026, 2, 3, h, m, s, ms}; }

    // One LPRINT item, as translated code prints it.
    static void lprint_item(const std::string& s) {
        zvs* t = text(s);
        lprint_makefit(t);
        zvs_lprint(t, 0);
    }
    static void lprint_end() { zvs_lprint(text(""), 1); }
    static void lprint_line(const std::string& s) {
        lprint_item(s);
        lprint_end();
    }

    static img_struct* printer() { return img_get(lprint_page()); }
    // A cell (1-based, 8 x 16 pixels) of the printer page holds ink.
    static bool inked(int32_t row, int32_t column) {
        const img_struct* im = printer();
        for (int32_t y = (row - 1) * 16; y < row * 16; y++)
            for (int32_t x = (column - 1) * 8; x < column * 8; x++)
                if (im->pixels[size_t(y) * im->width + x] != 15) return true;
        return false;
    }
    // Inked columns of a row, as a count from column 1 with no gap.
    static int32_t inked_columns(int32_t row) {
        int32_t n = 0;
        while (n < 80 && inked(row, n + 1)) n++;
        for (int32_t c = n + 1; c <= 80; c++)
            if (inked(row, c)) return -1;
        return n;
    }
    static bool paper_blank() {
        const img_struct* im = printer();
        for (size_t i = 0; i < size_t(im->width) * im->height; i++)
            if (im->pixels[i] != 15) return false;
        return true;
    }
    static std::vector<uint8_t> bytes_of(const img_struct* im) {
        size_t n = size_t(im->width) * im->height * (im->text ? 2 : im->bytes_per_pixel);
        return std::vector<uint8_t>(im->pixels, im->pixels + n);
    }
};

TEST_F(Lprint, TheFirstLprintMakesAWhitePageOfSixtyLinesOfEighty) {
    EXPECT_EQ(lprint_page(), 0);
    lprint_item("");
    ASSERT_NE(lprint_page(), 0);
    const img_struct* im = printer();
    EXPECT_EQ(im->width, 640);
    EXPECT_EQ(im->height, 960);
    EXPECT_EQ(im->bytes_per_pixel, 1);
    EXPECT_EQ(text_columns(im), 80);
    EXPECT_EQ(text_rows(im), 60);
    EXPECT_EQ(im->top_row, 1);
    EXPECT_EQ(im->bottom_row, 60);
    EXPECT_EQ(im->color, 0u);
    EXPECT_EQ(im->background_color, 15u);
    EXPECT_TRUE(paper_blank());
    EXPECT_FALSE(im->flags & IMG_SCREEN);
    int32_t page = lprint_page();
    lprint_line("x");
    EXPECT_EQ(lprint_page(), page);
    EXPECT_EQ(lprint_buffered(), 1);
}

TEST_F(Lprint, LinesWrapAtThePrinterWidth) {
    lprint_item(std::string(81, 'a'));
    EXPECT_EQ(func_lpos(0), 2);
    EXPECT_EQ(inked_columns(1), 80);
    EXPECT_EQ(inked_columns(2), 1);
    lprint_end();
    EXPECT_EQ(func_lpos(0), 1);
    lprint_line(std::string(81, 'b'));
    EXPECT_EQ(func_lpos(0), 1);
    EXPECT_EQ(inked_columns(3), 80);
    EXPECT_EQ(inked_columns(4), 1);

    set_width_lprint(40);
    lprint_item(std::string(50, 'c'));
    EXPECT_EQ(inked_columns(5), 40);
    EXPECT_EQ(inked_columns(6), 10);
    EXPECT_EQ(func_lpos(3), 11);
}

TEST_F(Lprint, FormFeedAndTheSixtyFirstLineHandThePageOver) {
    set_printer_page_sender(count_send);
    lprint_line("abc");
    lprint_item("\x0c");
    EXPECT_EQ(sends, 1);
    EXPECT_TRUE(paper_blank());
    EXPECT_EQ(func_lpos(0), 1);
    EXPECT_EQ(lprint_buffered(), 0);

    for (int i = 1; i < 60; i++) lprint_line("line");
    EXPECT_EQ(sends, 1);
    lprint_line("line 60");
    EXPECT_EQ(sends, 2);
    EXPECT_TRUE(paper_blank());
    EXPECT_EQ(cursor_y(printer()), 1);
    EXPECT_EQ(lprint_buffered(), 0);
    lprint_line("61");
    EXPECT_EQ(inked_columns(1), 2);
    EXPECT_EQ(lprint_buffered(), 1);
}

TEST_F(Lprint, LposAcceptsPortsZeroToThree) {
    struct {
        int32_t port, result, error;
    } cases[] = {{0, 1, 0}, {3, 1, 0}, {4, 0, 5}, {-1, 0, 5}, {1000, 0, 5}};
    for (const auto& c : cases) {
        EXPECT_EQ(func_lpos(c.port), c.result) << c.port;
        EXPECT_EQ(take_error(), c.error) << c.port;
    }
}

TEST_F(Lprint, PrintingLeavesTheScreenAndTheWriteImageAlone) {
    int32_t screen_index = screen(12);
    img_struct* s = img_get(screen_index);
    for (size_t i = 0; i < size_t(s->width) * s->height; i += 7) s->pixels[i] = uint8_t(i % 16);
    set_cursor_y(s, 5);
    set_cursor_x(s, 7);
    set_cursor_held(s, 1);
    std::vector<uint8_t> before = bytes_of(s);

    const std::function<void()> steps[] = {
        [] { lprint_item("hello"); },
        [] {
            tab_LPRINT = 1;
            zvs* t = func_tab(30);
            tab_LPRINT = 0;
            zvs_lprint(t, 0);
        },
        [] {
            tab_LPRINT = 1;
            zvs* t = func_spc(3);
            tab_LPRINT = 0;
            zvs_lprint(t, 0);
        },
        [] { lprint_tab(); },
        [] { lprint_end(); },
    };
    for (const auto& step : steps) {
        step();
        ASSERT_EQ(new_error, 0);
        EXPECT_EQ(write_page_index(), screen_index);
        EXPECT_EQ(cursor_x(s), 7);
        EXPECT_EQ(cursor_y(s), 5);
        EXPECT_EQ(cursor_held(s), 1);
        EXPECT_EQ(bytes_of(s), before);
    }
    // "hello" to column 5, TAB(30) to column 30, SPC(3), then the comma to zone 43.
    EXPECT_EQ(inked_columns(1), 5);
    EXPECT_EQ(func_lpos(0), 1);
}

TEST_F(Lprint, TheCommaMovesToTheNextPrintZone) {
    lprint_item("ab");
    lprint_tab();
    EXPECT_EQ(func_lpos(0), 15);
    EXPECT_EQ(cursor_x(printer()), 15);
    lprint_item("c");
    EXPECT_TRUE(inked(1, 15));
    EXPECT_FALSE(inked(1, 14));
}

TEST_F(Lprint, TabAndSpcAloneMakeThePage) {
    tab_LPRINT = 1;
    zvs* t = func_tab(10);
    tab_LPRINT = 0;
    EXPECT_EQ(str(t), std::string(9, ' '));
    EXPECT_NE(lprint_page(), 0);
    EXPECT_TRUE(paper_blank());
}

TEST_F(Lprint, KeyLineOnScreenStaysByteIdentical) {
    int32_t screen_index = screen(0);
    key_display = 1;
    key_update();
    std::vector<uint8_t> before = bytes_of(img_get(screen_index));
    lprint_item("x");
    EXPECT_EQ(bytes_of(img_get(screen_index)), before);
    EXPECT_EQ(func_lpos(0), 2);
    EXPECT_EQ(write_page_index(), screen_index);
}

TEST_F(Lprint, ClearKeepsThePrinterPage) {
    lprint_line("before");
    int32_t page = lprint_page();
    freeallimages();
    ASSERT_TRUE(img_get(page)->valid);
    // A program image made after CLEAR must not receive printer output.
    int32_t handle = func__newimage(640, 960, 13, 1);
    img_struct* mine = img_get(-handle);
    std::memset(mine->pixels, 4, size_t(mine->width) * mine->height);
    std::vector<uint8_t> before = bytes_of(mine);
    lprint_line("after");
    EXPECT_EQ(new_error, 0);
    EXPECT_EQ(lprint_page(), page);
    EXPECT_EQ(bytes_of(mine), before);
    EXPECT_EQ(inked_columns(2), 5);
}

TEST_F(Lprint, AnIdlePageIsHandedOverAfterTenSeconds) {
    struct {
        const char* name;
        int32_t h, m, s, ms;  // the LPRINT
        int32_t h2, m2, s2, ms2;  // the housekeeping pass
        bool handed_over;
    } cases[] = {
        {"9.999 s later", 12, 0, 0, 0, 12, 0, 9, 999, false},
        {"10 s later", 12, 0, 0, 0, 12, 0, 10, 0, true},
        {"an hour later", 12, 0, 0, 0, 13, 0, 0, 0, true},
        {"clock set back 10 s", 12, 0, 10, 0, 12, 0, 0, 0, true},
        {"across midnight", 23, 59, 59, 500, 0, 0, 5, 0, true},
    };
    int32_t screen_index = screen(0);
    key_display = 1;
    key_update();
    set_printer_page_sender(count_send);
    for (const auto& c : cases) {
        sends = 0;
        at_time(c.h, c.m, c.s, c.ms);
        lprint_line("text");
        // A cell of the KEY line changed: a redraw from the pass would undo it.
        write_cell(img_get(screen_index), 25, 80, 0x1741);
        std::vector<uint8_t> screen_before = bytes_of(img_get(screen_index));
        at_time(c.h2, c.m2, c.s2, c.ms2);
        lprint_idle();
        EXPECT_EQ(sends, c.handed_over ? 1 : 0) << c.name;
        EXPECT_EQ(lprint_buffered(), c.handed_over ? 0 : 1) << c.name;
        EXPECT_EQ(paper_blank(), c.handed_over) << c.name;
        if (c.handed_over) {
            EXPECT_EQ(cursor_y(printer()), 1) << c.name;
        }
        EXPECT_EQ(write_page_index(), screen_index) << c.name;
        EXPECT_EQ(bytes_of(img_get(screen_index)), screen_before) << c.name;
        // Nothing left to hand over: a second pass does nothing.
        lprint_idle();
        EXPECT_EQ(sends, c.handed_over ? 1 : 0) << c.name;
    }
}

TEST_F(Lprint, TheIdleCheckSkipsAPageInUse) {
    set_printer_page_sender(count_send);
    lprint_line("text");
    at_time(12, 1, 0, 0);
    {
        std::unique_lock<std::mutex> busy = printer_page_hold();
        std::thread housekeeping(lprint_idle);  // must not wait for the page
        housekeeping.join();
    }
    EXPECT_EQ(sends, 0);
    EXPECT_EQ(lprint_buffered(), 1);
    lprint_idle();
    EXPECT_EQ(sends, 1);
}

// A clock whose local time moves on by a second at every read.
struct racing_clock {
    static inline std::atomic<int64_t> seconds{0};
    static bool local_now(libzv_local_time* out) {
        int64_t s = seconds.fetch_add(1) % 86400;
        *out = {2026, 2, 3, int32_t(s / 3600), int32_t(s / 60 % 60), int32_t(s % 60), 0};
        return true;
    }
    static inline const clock_source source{fake_clock::monotonic, local_now, fake_clock::sleep};
};

TEST_F(Lprint, HousekeepingPassesDuringPrintingTouchOnlyThePrinterPage) {
    int32_t screen_index = screen(12);
    img_struct* s = img_get(screen_index);
    clock_set_source(&racing_clock::source);
    std::atomic<bool> done{false};
    std::atomic<int> passes{0};
    std::thread housekeeping([&] {
        while (!done.load()) {
            lprint_idle();
            passes++;
        }
    });
    for (int i = 0; i < 300; i++) {
        lprint_line("line " + std::to_string(i));
        // The program's own drawing on its write image meanwhile.
        fill_box(s, 0, 0, 9, 9, uint32_t(i % 16));
    }
    while (passes.load() < 3) std::this_thread::yield();
    done = true;
    housekeeping.join();
    clock_set_source(&fake_clock::source);
    EXPECT_EQ(new_error, 0);
    EXPECT_EQ(write_page_index(), screen_index);
    // The screen holds only the program's box; the page only ink and paper.
    for (int32_t y = 0; y < s->height; y++)
        for (int32_t x = 0; x < s->width; x++) {
            uint8_t want = x < 10 && y < 10 ? 299 % 16 : 0;
            ASSERT_EQ(s->pixels[size_t(y) * s->width + x], want) << x << "," << y;
        }
    const img_struct* page = printer();
    for (size_t i = 0; i < size_t(page->width) * page->height; i++) ASSERT_TRUE(page->pixels[i] == 0 || page->pixels[i] == 15);
}

TEST_F(Lprint, ShutdownHandsOverOnlyAPageWithText) {
    set_printer_page_sender(count_send);
    lprint_shutdown();
    EXPECT_EQ(sends, 0);
    lprint_line("text");
    lprint_shutdown();
    EXPECT_EQ(sends, 1);
}

TEST_F(Lprint, PendingErrorPrintsNothing) {
    error(7);
    lprint_line("text");
    lprint_tab();
    EXPECT_EQ(lprint_page(), 0);
    EXPECT_EQ(func_lpos(9), 0);
    EXPECT_EQ(new_error, 7);
}

}  // namespace
