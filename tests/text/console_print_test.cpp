// PRINT, the comma, CLS and SCREEN() on the console image of a console program.
#include <gtest/gtest.h>

#include <unistd.h>

#include "palette/palette_statements.h"
#include "platform/pty_fixture.h"
#include "text/text_fixture.h"

namespace {

using ConsolePrint = TextTest;

TEST_F(ConsolePrint, TextGoesOutUnchangedEveryByteIncluded) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    FILE* out = fdopen(fds[1], "w");
    console_terminal_use(STDIN_FILENO, out);
    console_page();
    print_line(std::string("a\x07\0b", 4));
    char buffer[16];
    ASSERT_EQ(read(fds[0], buffer, sizeof buffer), 5);
    EXPECT_EQ(std::string(buffer, 5), std::string("a\x07\0b\n", 5));
    // Nothing is held back for a later line end.
    item("prompt? ");
    ASSERT_EQ(read(fds[0], buffer, sizeof buffer), 8);
    console_terminal_reset_for_tests();
    fclose(out);
    close(fds[0]);
}

TEST_F(ConsolePrint, TheCommaStopsAtEveryTenthColumnAndWrapsNearTheEnd) {
    pseudo_terminal pty;
    console_page();
    item("a");
    tab();
    item("b");
    EXPECT_EQ(pty.output(), "a" + std::string(8, ' ') + "b");
    EXPECT_EQ(func_pos(0), 11);
    tab();
    EXPECT_EQ(func_pos(0), 20);
    zvg_sub_locate(0, 71, 0, 0, 0, 2);
    pty.output();
    tab();
    EXPECT_EQ(pty.output(), "\n");
    EXPECT_EQ(func_pos(0), 1);
}

TEST_F(ConsolePrint, ClsClearsTheTerminalAndHomes) {
    pseudo_terminal pty;
    console_page();
    print_line("some text");
    pty.output();
    sub_cls(0, 0, 0);
    EXPECT_EQ(pty.output(), "\x1b[2J\x1b[H\x1b[1;1H");
    EXPECT_EQ(func_csrlin(), 1);
    EXPECT_EQ(func_screen(1, 1, 0, 0), 32);
}

TEST_F(ConsolePrint, ScreenReadsTheShadowCellsWithTheColourAttribute) {
    pseudo_terminal pty(40, 10);
    console_page();
    zvg_sub_color(14, 1, 0, 3);
    print_line("Hi");
    EXPECT_EQ(func_screen(1, 1, 0, 0), 'H');
    EXPECT_EQ(func_screen(1, 2, 0, 0), 'i');
    EXPECT_EQ(func_screen(1, 2, 1, 1), 0x1E);
    EXPECT_EQ(func_screen(1, 3, 1, 1), 7);
    // No range check: outside the terminal it reads 0, without an error.
    EXPECT_EQ(func_screen(11, 1, 0, 0), 0);
    EXPECT_EQ(func_screen(0, 0, 1, 1), 0);
    EXPECT_EQ(take_error(), 0);
}

}  // namespace
