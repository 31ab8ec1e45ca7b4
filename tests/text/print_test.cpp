// PRINT on text pages: cells read back after wrapping, holding, scrolling, control characters and the comma.
#include <gtest/gtest.h>

#include "text/text_fixture.h"

namespace {

class PrintText : public TextTest {
protected:
    void SetUp() override {
        TextTest::SetUp();
        screen(0);  // 80 x 25, VIEW PRINT rows 1-24
    }
};

int beeps = 0;
void count_beep() { beeps++; }

TEST_F(PrintText, ItemsWithSemicolonsFollowOnAndTheStatementEndMovesOn) {
    item("ab");
    item("cd");
    EXPECT_EQ(row(1).substr(0, 5), "abcd ");
    EXPECT_EQ(x(), 5);
    end_line();
    EXPECT_EQ(y(), 2);
    EXPECT_EQ(x(), 1);
    // An empty PRINT is one new line.
    end_line();
    EXPECT_EQ(y(), 3);
}

TEST_F(PrintText, AFullRowOnTheLastRegionRowWrapsOnceAndScrollsOnce) {
    print_line("top");
    at(24, 1);
    print_line(std::string(80, 'x'));
    EXPECT_EQ(row(23), std::string(80, 'x'));
    EXPECT_EQ(row(24), std::string(80, ' '));
    EXPECT_EQ(row(25), std::string(80, ' '));  // the last row is outside the region
    EXPECT_EQ(row(1).substr(0, 3), "   ");      // "top" scrolled away
    EXPECT_EQ(y(), 24);
    EXPECT_EQ(x(), 1);
}

TEST_F(PrintText, AnItemEndingAtTheEdgeHoldsTheCursor) {
    at(10, 1);
    item(std::string(80, 'x'));
    EXPECT_EQ(cursor_held(page()), 1);
    EXPECT_EQ(x(), 80);
    EXPECT_EQ(func_pos(0), 1);
    EXPECT_EQ(func_csrlin(), 11);
    item("y");
    EXPECT_EQ(cell(11, 1) & 255, 'y');
    EXPECT_EQ(cursor_held(page()), 0);
    EXPECT_EQ(row(10), std::string(80, 'x'));
}

TEST_F(PrintText, AnEmptyLineEndReleasesAHoldWithExactlyOneNewLine) {
    print_line("top");
    at(24, 1);
    item(std::string(80, 'x'));
    EXPECT_EQ(func_csrlin(), 24);  // held on the bottom row: the next text goes there after a scroll
    end_line();
    EXPECT_EQ(row(23), std::string(80, 'x'));
    EXPECT_EQ(row(24), std::string(80, ' '));
    EXPECT_EQ(y(), 24);
    EXPECT_EQ(cursor_held(page()), 0);
}

TEST_F(PrintText, ClsReleasesTheHold) {
    at(10, 1);
    item(std::string(80, 'x'));
    sub_cls(0, 0, 0);
    print_line("a");
    EXPECT_EQ(cell(1, 1) & 255, 'a');
}

TEST_F(PrintText, TabCharacterPrintsSpacesToTheNextStopOfEight) {
    struct tab_case {
        int32_t column, a_at;
    };
    for (tab_case c : {tab_case{1, 9}, tab_case{8, 9}, tab_case{9, 17}, tab_case{16, 17}}) {
        sub_cls(0, 0, 0);
        print_line(std::string(80, '.'));
        at(1, c.column);
        item("\ta");
        EXPECT_EQ(row(1).substr(c.column - 1, c.a_at - c.column), std::string(c.a_at - c.column, ' '))
            << "from column " << c.column;
        EXPECT_EQ(cell(1, c.a_at) & 255, 'a') << "from column " << c.column;
        EXPECT_EQ(cell(1, c.a_at + 1) & 255, '.') << "from column " << c.column;
    }
}

TEST_F(PrintText, ATabHeldAtTheRightEdgeEnds) {
    text_page(50, 25);
    at(1, 49);
    item("\t");
    EXPECT_EQ(row(1).substr(48), "  ");
    EXPECT_EQ(cursor_held(page()), 1);
    EXPECT_EQ(x(), 50);
    EXPECT_EQ(y(), 1);
}

TEST_F(PrintText, FormFeedClearsAndHomeOnlyHomes) {
    zvg_sub_view_print(3, 20, 1);
    print_line("keep");
    at(10, 5);
    item("\x0b");
    EXPECT_EQ(y(), 3);
    EXPECT_EQ(x(), 1);
    EXPECT_EQ(row(3).substr(0, 4), "keep");
    at(10, 5);
    item("\x0c");
    EXPECT_EQ(y(), 3);
    EXPECT_EQ(x(), 1);
    EXPECT_EQ(row(3), std::string(80, ' '));
}

TEST_F(PrintText, CursorControlCharactersMoveInsideTheRegion) {
    struct move {
        int32_t from_row, from_column;
        char code;
        int32_t row, column;
    };
    const move moves[] = {
        {5, 5, 28, 5, 6},    {5, 80, 28, 6, 1},   {24, 80, 28, 24, 80}, {25, 80, 28, 25, 80},
        {5, 5, 29, 5, 4},    {5, 1, 29, 4, 80},   {1, 1, 29, 1, 1},     {25, 1, 29, 25, 1},
        {5, 5, 30, 4, 5},    {1, 5, 30, 1, 5},    {25, 5, 30, 25, 5},   {5, 5, 31, 6, 5},
        {24, 5, 31, 24, 5},  {25, 5, 31, 25, 5},
    };
    for (const move& m : moves) {
        at(m.from_row, m.from_column);
        item(std::string(1, m.code));
        EXPECT_EQ(y(), m.row) << int(m.code) << " from " << m.from_row << "," << m.from_column;
        EXPECT_EQ(x(), m.column) << int(m.code) << " from " << m.from_row << "," << m.from_column;
    }
    EXPECT_EQ(row(5), std::string(80, ' '));
}

TEST_F(PrintText, BellRingsAndNewLineCharactersMove) {
    set_print_beep(count_beep);
    beeps = 0;
    item("a\x07" "b\rc\nd");
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(row(1).substr(0, 3), "ab ");
    EXPECT_EQ(cell(2, 1) & 255, 'c');
    EXPECT_EQ(cell(3, 1) & 255, 'd');
}

TEST_F(PrintText, WithControlCharactersOffEveryCodeIsAGlyph) {
    set_print_beep(count_beep);
    beeps = 0;
    sub__controlchr(2);
    EXPECT_EQ(func__controlchr(), -1);
    const std::string codes = "\x07\x09\x0a\x0b\x0c\x0d\x1c\x1d\x1e\x1f";
    at(5, 1);
    item(codes);
    for (size_t i = 0; i < codes.size(); i++) EXPECT_EQ(cell(5, int32_t(i) + 1) & 255, uint8_t(codes[i]));
    EXPECT_EQ(x(), int32_t(codes.size()) + 1);
    EXPECT_EQ(beeps, 0);
    sub__controlchr(1);
    EXPECT_EQ(func__controlchr(), 0);
}

TEST_F(PrintText, TheAttributeCarriesColoursAndBlink) {
    page()->color = 20;
    page()->background_color = 9;
    print_line("A");
    EXPECT_EQ(cell(1, 1), 0x9441);
}

TEST_F(PrintText, CommaZonesOfFourteenColumns) {
    item("a");
    tab();
    item("b");
    EXPECT_EQ(cell(1, 15) & 255, 'b');
    // No whole zone left at column 70: spaces up to column 79, the cursor on 80.
    print_line(std::string(80, '.'));
    at(2, 70);
    tab();
    EXPECT_EQ(row(2).substr(69, 10), std::string(10, ' '));
    EXPECT_EQ(cell(2, 80) & 255, '.');
    EXPECT_EQ(x(), 80);
    // While held the comma is only the pending new line.
    at(5, 1);
    item(std::string(80, 'x'));
    tab();
    EXPECT_EQ(y(), 6);
    EXPECT_EQ(x(), 1);
    EXPECT_EQ(cursor_held(page()), 0);
}

TEST_F(PrintText, MakefitStartsANewLineForAnItemThatWouldNotFit) {
    at(3, 75);
    item("1234567");
    EXPECT_EQ(row(3), std::string(80, ' '));
    EXPECT_EQ(row(4).substr(0, 7), "1234567");
    at(7, 75);
    item("123456");  // fits exactly: stays and holds
    EXPECT_EQ(row(7).substr(74), "123456");
    EXPECT_EQ(cursor_held(page()), 1);
    // Nothing to fit at column 1 or while held.
    at(9, 1);
    item(std::string(90, 'z'));
    EXPECT_EQ(row(9), std::string(80, 'z'));
}

TEST_F(PrintText, ScrollingStaysInsideTheRegion) {
    for (int r = 1; r <= 25; r++) {
        at(r, 1);
        item(std::string(1, char('A' + r - 1)));
    }
    zvg_sub_view_print(5, 10, 1);
    for (int i = 0; i < 10; i++) print_line("n" + std::to_string(i));
    for (int r = 1; r <= 4; r++) EXPECT_EQ(cell(r, 1) & 255, 'A' + r - 1);
    for (int r = 11; r <= 25; r++) EXPECT_EQ(cell(r, 1) & 255, 'A' + r - 1);
    EXPECT_EQ(row(9).substr(0, 2), "n9");
    EXPECT_EQ(row(10), std::string(80, ' '));
}

TEST_F(PrintText, NothingIsPrintedWhileAnErrorIsPending) {
    error(5);
    zvs_print(text("x"), 1);
    EXPECT_EQ(cell(1, 1), 0x0720);
    EXPECT_EQ(y(), 1);
}

TEST_F(PrintText, PrintWidthOfTextAndGraphicsImages) {
    EXPECT_EQ(func__printwidth(text("hello"), 0, 0), 5);
    EXPECT_EQ(func__printwidth(text(""), 0, 0), 0);
    int32_t h = -imgnew(640, 480, 12);
    EXPECT_EQ(func__printwidth(text("hello"), h, 1), 40);
    EXPECT_EQ(func__printwidth(text("hello"), -999, 1), 0);
    EXPECT_EQ(take_error(), 258);
}

}  // namespace

namespace {

// The PRINT core on the printer page while LPRINT writes to it.
class PrintPrinterPage : public TextTest {
protected:
    int32_t screen_index = 0, printer = 0;
    void SetUp() override {
        TextTest::SetUp();
        screen_index = screen(0);
        printer = imgnew(640, 960, 256);  // 80 x 60 cells
        img_get(printer)->background_color = 15;
        img_get(printer)->color = 0;
        set_write_page(printer);
        zvg_sub_view_print(0, 0, 0);
        sub_cls(0, 0, 0);
        set_lprint(1, printer);
    }
    static bool page_blank(const img_struct* im) {
        for (int64_t i = 0; i < int64_t(im->width) * im->height; i++)
            if (im->pixels[i] != 15) return false;
        return true;
    }
};

int pages_sent = 0;
void count_page() { pages_sent++; }

TEST_F(PrintPrinterPage, ThePrinterColumnWrapsAtThePrinterWidth) {
    item(std::string(81, 'a'));
    EXPECT_EQ(lpos(), 2);
    EXPECT_EQ(y(), 2);
    EXPECT_EQ(lprint_buffered(), 1);
    end_line();
    EXPECT_EQ(lpos(), 1);
    set_width_lprint(40);
    item(std::string(50, 'b'));  // 40 on row 3, 10 on row 4
    EXPECT_EQ(y(), 4);
    EXPECT_EQ(x(), 11);
    EXPECT_EQ(lpos(), 11);
}

TEST_F(PrintPrinterPage, AFullPageGoesToThePrinterInsteadOfScrolling) {
    set_printer_page_sender(count_page);
    pages_sent = 0;
    for (int i = 0; i < 60; i++) print_line("line");
    EXPECT_EQ(pages_sent, 1);
    EXPECT_TRUE(page_blank(page()));
    EXPECT_EQ(y(), 1);
    EXPECT_EQ(lprint_buffered(), 0);
    print_line("61");
    EXPECT_FALSE(page_blank(page()));
    item("\x0c");
    EXPECT_EQ(pages_sent, 2);
    EXPECT_TRUE(page_blank(page()));
    EXPECT_EQ(lpos(), 1);
}

TEST_F(PrintPrinterPage, PrintsOnOtherImagesWhileLprintRunsStayPlain) {
    // The KEY line drawn during an LPRINT prints on page 0: no printer column, no hand-over.
    key_display = 1;
    set_write_page(screen_index);
    key_update();
    EXPECT_EQ(lpos(), 1);
    EXPECT_EQ(cell(25, 1, img_get(screen_index)) & 255, '1');
    at(24, 1);
    print_line("x");
    EXPECT_EQ(cell(23, 1) & 255, 'x');
    EXPECT_EQ(lpos(), 1);
}

}  // namespace
