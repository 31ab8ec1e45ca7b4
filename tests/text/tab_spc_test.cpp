// TAB and SPC: the strings they give on the screen, in PRINT #, inside LPRINT and on the console.
#include <gtest/gtest.h>

#include "platform/pty_fixture.h"
#include "text/text_fixture.h"

namespace {

class TabSpc : public TextTest {
protected:
    void SetUp() override {
        TextTest::SetUp();
        screen(0);
    }
    static std::string tab_at(int32_t column, int32_t target) {
        at(1, column);
        return str(func_tab(target));
    }
    static std::string spc_at(int32_t column, int32_t count) {
        at(1, column);
        return str(func_spc(count));
    }
};

std::string sp(int n) { return std::string(n, ' '); }

int32_t file_at_10(int32_t fileno, bool* screen) {
    *screen = fileno == 9;
    return fileno == 3 || fileno == 9 ? 10 : 0;
}

int32_t printer_index = 0;
int32_t make_printer_page() { return printer_index; }

TEST_F(TabSpc, TabOnTheScreen) {
    struct tab_case {
        int32_t column, target;
        std::string result;
    };
    const tab_case cases[] = {
        {10, 5, "\r" + sp(4)}, {1, 85, sp(4)},  {1, 5, sp(4)},   {5, 5, ""},
        {1, 0, ""},            {3, -7, "\r"},   {1, 80, sp(79)}, {1, 160, ""},
    };
    for (const tab_case& c : cases)
        EXPECT_EQ(tab_at(c.column, c.target), c.result) << "TAB(" << c.target << ") from " << c.column;
}

TEST_F(TabSpc, SpcOnTheScreen) {
    struct spc_case {
        int32_t column, count;
        std::string result;
    };
    const spc_case cases[] = {
        {1, 100, sp(20)}, {75, 90, "\r" + sp(4)}, {1, -3, ""}, {80, 1, sp(1)}, {80, 2, "\r" + sp(1)}, {1, 80, ""},
    };
    for (const spc_case& c : cases)
        EXPECT_EQ(spc_at(c.column, c.count), c.result) << "SPC(" << c.count << ") from " << c.column;
}

TEST_F(TabSpc, ArgumentsOutsideSixteenBitsAreErrorSix) {
    EXPECT_EQ(str(func_tab(40000)), "");
    EXPECT_EQ(take_error(), 6);
    EXPECT_EQ(str(func_spc(-40000)), "");
    EXPECT_EQ(take_error(), 6);
    error(5);
    EXPECT_EQ(str(func_tab(5)), "");
    EXPECT_EQ(str(func_spc(5)), "");
    take_error();
}

TEST_F(TabSpc, AHeldCursorCountsAsColumnOneOfTheNextRow) {
    at(3, 1);
    item(std::string(80, 'x'));
    item(str(func_tab(10)));
    item("z");
    EXPECT_EQ(cell(4, 10) & 255, 'z');
    at(6, 1);
    item(std::string(80, 'x'));
    item(str(func_spc(5)));
    item("z");
    EXPECT_EQ(cell(7, 6) & 255, 'z');
}

TEST_F(TabSpc, PrintToAFileCountsFromItsColumn) {
    set_tab_file_column(file_at_10);
    tab_spc_cr_size = 2;
    tab_fileno = 3;
    at(1, 1);
    EXPECT_EQ(str(func_tab(5)), "\r\n" + sp(4));
    EXPECT_EQ(str(func_tab(14)), sp(4));
    EXPECT_EQ(str(func_tab(100)), sp(90));  // a file has no width
    EXPECT_EQ(str(func_spc(100)), sp(100));
    // A file number that is not open counts from column 1.
    tab_fileno = 4;
    EXPECT_EQ(str(func_tab(5)), sp(4));
    // The screen device opened as a file measures the screen.
    tab_fileno = 9;
    at(1, 30);
    EXPECT_EQ(str(func_tab(5)), "\r" + sp(4));
}

TEST_F(TabSpc, InsideLprintThePrinterPageIsMeasuredAndTheWriteImageKept) {
    int32_t screen_index = write_page_index();
    printer_index = imgnew(40, 60, 0);
    set_cursor_x(img_get(printer_index), 30);
    set_printer_page_maker(make_printer_page);
    tab_LPRINT = 1;
    at(1, 2);
    EXPECT_EQ(str(func_tab(35)), sp(5));
    EXPECT_EQ(str(func_spc(45)), sp(5));  // 45 modulo the page's 40 columns
    EXPECT_EQ(write_page_index(), screen_index);
    EXPECT_EQ(str(func_tab(40000)), "");
    EXPECT_EQ(take_error(), 6);
    EXPECT_EQ(write_page_index(), screen_index);
}

TEST_F(TabSpc, AnImageNarrowerThanOneCellStillGivesStrings) {
    set_write_page(imgnew(4, 4, 32));
    EXPECT_EQ(str(func_tab(3)), "");
    EXPECT_EQ(str(func_spc(3)), "");
    EXPECT_EQ(take_error(), 0);
    item(str(func_tab(3)));
    tab();
    item("A");
    EXPECT_EQ(take_error(), 0);
}

TEST_F(TabSpc, OnTheConsoleTheTerminalColumnCounts) {
    pseudo_terminal pty;
    console_page();
    item("abcdefghi");
    EXPECT_EQ(str(func_tab(5)), "\r" + sp(4));
    EXPECT_EQ(str(func_tab(15)), sp(5));
}

}  // namespace
