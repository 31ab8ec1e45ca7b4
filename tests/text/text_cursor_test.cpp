// LOCATE, VIEW PRINT, CSRLIN and POS on text pages and the console, with the start-up 80 x 50 switch.
#include <gtest/gtest.h>

#include <cstring>

#include "memory/cmem.h"
#include "platform/pty_fixture.h"
#include "text/text_fixture.h"

namespace {

int width_calls = 0;

// WIDTH 80, 50 as the screen statements do it: a new page 0 over the same memory, blank.
void fake_width(int32_t columns, int32_t rows) {
    width_calls++;
    int32_t old = page_index(0);
    for (int64_t i = 0; i < int64_t(columns) * rows * 2; i += 2) {
        cmem[0xB8000 + i] = 0x20;
        cmem[0xB8000 + i + 1] = 0x07;
    }
    int32_t index = imgframe(cmem + 0xB8000, columns, rows, 0);
    img_get(index)->flags |= IMG_SCREEN;
    page_set(0, index);
    set_write_page(index);
    set_read_page(index);
    set_display_page(index);
    image_release(old);
}

class Locate : public TextTest {
protected:
    void SetUp() override {
        TextTest::SetUp();
        screen(0);
        width_calls = 0;
    }
    // The start-up screen: the switch set and WIDTH available.
    void startup_screen() {
        set_locate_width(fake_width);
        width8050switch = 1;
    }
};

TEST_F(Locate, RowColumnAndTheLastRow) {
    zvg_sub_locate(5, 9, 0, 0, 0, 3);
    EXPECT_EQ(y(), 5);
    EXPECT_EQ(x(), 9);
    zvg_sub_locate(25, 1, 0, 0, 0, 3);  // outside the region, but the last row
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(y(), 25);
    zvg_sub_locate(0, 3, 0, 0, 0, 2);  // column only
    EXPECT_EQ(y(), 25);
    EXPECT_EQ(x(), 3);
}

TEST_F(Locate, RefusedArgumentsChangeNothing) {
    struct refused {
        int32_t row, column, cursor, start, stop, passed;
    };
    const refused cases[] = {
        {0, 0, 0, 0, 0, 1},  {26, 0, 0, 0, 0, 1}, {0, 81, 0, 0, 0, 2}, {0, 0, 0, 0, 0, 2},
        {0, 0, 2, 0, 0, 4},  {0, 0, 0, 32, 0, 8}, {0, 0, 0, 0, -1, 16}, {3, 3, 1, 2, 99, 31},
    };
    img_struct* im = page();
    at(7, 8);
    for (const refused& c : cases) {
        zvg_sub_locate(c.row, c.column, c.cursor, c.start, c.stop, c.passed);
        EXPECT_EQ(take_error(), 5) << c.passed;
        EXPECT_EQ(y(), 7);
        EXPECT_EQ(x(), 8);
        EXPECT_EQ(im->cursor_show, 0);
        EXPECT_EQ(im->cursor_firstvalue, 4);
        EXPECT_EQ(im->cursor_lastvalue, 4);
    }
}

TEST_F(Locate, RowsBelowTheRegionNeedTheSwitch) {
    zvg_sub_view_print(1, 10, 1);
    zvg_sub_locate(24, 1, 0, 0, 0, 1);
    EXPECT_EQ(take_error(), 5);
    zvg_sub_locate(25, 1, 0, 0, 0, 1);
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(y(), 25);
}

TEST_F(Locate, TheStartUpScreenSwitchesToEightyByFiftyOnce) {
    startup_screen();
    img_struct* before = page();
    before->color = 14;
    before->background_color = 1;
    for (int i = 0; i < 4000; i++) cmem[0xB8000 + i] = uint8_t(i * 7);
    uint8_t shown[4000];
    memcpy(shown, cmem + 0xB8000, 4000);
    zvg_sub_locate(40, 1, 0, 0, 0, 3);
    EXPECT_EQ(take_error(), 0);
    EXPECT_EQ(width_calls, 1);
    img_struct* im = page();
    EXPECT_EQ(im->width, 80);
    EXPECT_EQ(im->height, 50);
    EXPECT_EQ(im->font, 8);
    EXPECT_EQ(memcmp(shown, cmem + 0xB8000, 4000), 0);
    EXPECT_EQ(im->color, 14u);
    EXPECT_EQ(im->background_color, 1u);
    EXPECT_EQ(y(), 40);
    EXPECT_EQ(x(), 1);
    EXPECT_EQ(width8050switch, 0);
    zvg_sub_locate(51, 1, 0, 0, 0, 1);
    EXPECT_EQ(take_error(), 5);
    zvg_sub_locate(50, 1, 0, 0, 0, 1);  // the new last row
    EXPECT_EQ(take_error(), 0);
}

TEST_F(Locate, TheSwitchChecksEveryArgumentFirst) {
    startup_screen();
    zvg_sub_locate(40, 1, 2, 0, 0, 7);
    EXPECT_EQ(take_error(), 5);
    zvg_sub_locate(51, 1, 0, 0, 0, 3);
    EXPECT_EQ(take_error(), 5);
    zvg_sub_locate(40, 81, 0, 0, 0, 3);
    EXPECT_EQ(take_error(), 5);
    EXPECT_EQ(width_calls, 0);
    EXPECT_EQ(page()->height, 25);
    EXPECT_EQ(width8050switch, 1);
}

TEST_F(Locate, TheSwitchIsOnlyForTheTextPageItself) {
    startup_screen();
    int32_t image = imgnew(640, 480, 12);
    set_write_page(image);
    zvg_sub_locate(40, 1, 0, 0, 0, 1);
    EXPECT_EQ(take_error(), 5);
    EXPECT_EQ(write_page_index(), image);
    EXPECT_EQ(img_get(page_index(0))->height, 25);
    EXPECT_EQ(width_calls, 0);
}

TEST_F(Locate, CursorShapeGoesToEveryScreenPage) {
    zvg_sub_locate(0, 0, 1, 0, 0, 4);
    for (const auto& [n, index] : page_entries()) EXPECT_EQ(img_get(index)->cursor_show, 1) << n;
    zvg_sub_locate(0, 0, 0, 6, 7, 24);
    for (const auto& [n, index] : page_entries()) {
        EXPECT_EQ(img_get(index)->cursor_firstvalue, 6) << n;
        EXPECT_EQ(img_get(index)->cursor_lastvalue, 7) << n;
    }
    zvg_sub_locate(0, 0, 0, 0, 2, 16);  // stop alone: start stays
    EXPECT_EQ(img_get(page_index(5))->cursor_firstvalue, 6);
    EXPECT_EQ(img_get(page_index(5))->cursor_lastvalue, 2);
    // A program image keeps its own cursor to itself.
    set_write_page(imgnew(8, 8, 0));
    zvg_sub_locate(0, 0, 0, 0, 0, 4);
    EXPECT_EQ(img_get(page_index(0))->cursor_show, 1);
}

TEST_F(Locate, LocateOfNothingWhileHeldShowsTheCursorOnTheNextRow) {
    at(10, 1);
    item(std::string(80, 'x'));
    zvg_sub_locate(0, 0, 0, 0, 0, 0);
    EXPECT_EQ(cursor_held(page()), 2);
    EXPECT_EQ(func_pos(0), 1);
    EXPECT_EQ(func_csrlin(), 11);
    at(24, 1);
    item(std::string(80, 'x'));
    EXPECT_EQ(func_csrlin(), 24);
    // A column alone releases the hold and keeps the row.
    zvg_sub_locate(0, 5, 0, 0, 0, 2);
    EXPECT_EQ(cursor_held(page()), 0);
    EXPECT_EQ(y(), 24);
    EXPECT_EQ(func_pos(0), 5);
}

TEST_F(Locate, NothingHappensWhileAnErrorIsPending) {
    at(3, 3);
    error(5);
    zvg_sub_locate(9, 9, 0, 0, 0, 3);
    zvg_sub_view_print(5, 6, 1);
    take_error();
    EXPECT_EQ(y(), 3);
    EXPECT_EQ(page()->top_row, 1);
}

TEST_F(Locate, ViewPrintSetsTheRegionAndHomes) {
    at(9, 9);
    zvg_sub_view_print(5, 10, 1);
    EXPECT_EQ(page()->top_row, 5);
    EXPECT_EQ(page()->bottom_row, 10);
    EXPECT_EQ(y(), 5);
    EXPECT_EQ(x(), 1);
    for (auto [top, bottom] : {std::pair{0, 5}, std::pair{5, 4}, std::pair{1, 26}, std::pair{26, 26}}) {
        zvg_sub_view_print(top, bottom, 1);
        EXPECT_EQ(take_error(), 5) << top << " TO " << bottom;
        EXPECT_EQ(page()->top_row, 5);
    }
    zvg_sub_locate(4, 1, 0, 0, 0, 1);
    EXPECT_EQ(take_error(), 5);
    at(10, 1);
    item(std::string(80, 'x'));
    zvg_sub_view_print(0, 0, 0);
    EXPECT_EQ(page()->top_row, 1);
    EXPECT_EQ(page()->bottom_row, 25);
    EXPECT_EQ(cursor_held(page()), 0);
    EXPECT_EQ(y(), 1);
}

TEST_F(Locate, TheConsoleCursorIsTheTerminalsCursor) {
    pseudo_terminal pty(80, 25);
    console_page();
    zvg_sub_locate(3, 7, 1, 0, 0, 7);
    EXPECT_EQ(pty.output(), "\x1b[3;7H");
    EXPECT_EQ(func_csrlin(), 3);
    EXPECT_EQ(func_pos(0), 7);
    zvg_sub_locate(0, 2, 0, 0, 0, 3);  // a row of 0 keeps the row
    EXPECT_EQ(func_csrlin(), 3);
    EXPECT_EQ(func_pos(0), 2);
    zvg_sub_locate(5, 0, 0, 0, 0, 1);  // no column keeps the column
    EXPECT_EQ(func_csrlin(), 5);
    EXPECT_EQ(func_pos(0), 2);
    print_line("abc");
    EXPECT_EQ(func_csrlin(), 6);
    EXPECT_EQ(func_pos(0), 1);
}

}  // namespace
