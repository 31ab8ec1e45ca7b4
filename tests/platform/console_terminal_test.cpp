// The console terminal layer under a pseudo-terminal: output, the shadow grid, modes and records.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "platform/console_terminal.h"
#include "platform/pty_fixture.h"
#include "support/peak_memory.h"

namespace {

void write_text(const std::string& s) { console_write(s.data(), s.size()); }

std::string row_text(int32_t row) {
    std::string s;
    for (int32_t c = 1; c <= console_columns(); c++) s += static_cast<char>(console_cell(row, c, false));
    return s;
}

TEST(ConsoleTerminal, TextReachesTheTerminalUnchangedAndMovesTheShadow) {
    pseudo_terminal pty(20, 5);
    EXPECT_TRUE(console_output_is_terminal());
    EXPECT_EQ(console_columns(), 20);
    EXPECT_EQ(console_rows(), 5);
    write_text(std::string("ab\0c\x07", 5));
    EXPECT_EQ(pty.output(), std::string("ab\0c\x07", 5));
    // NUL and BEL do not move the cursor.
    EXPECT_EQ(console_row(), 1);
    EXPECT_EQ(console_column(), 4);
    EXPECT_EQ(row_text(1).substr(0, 4), "abc ");
}

// A pseudo-terminal may claim 65535 x 65535 cells; the shadow stops at the largest
// size a terminal can show (in a child under a memory limit, for an unbounded grid).
TEST(ConsoleTerminal, TheShadowOfAnImpossiblyLargeTerminalIsBounded) {
    int result = in_memory_limited_child(int64_t(64) << 20, [] {
        pseudo_terminal pty(65535, 65535);
        write_text("a");
        bool bounded = console_columns() == console_max_side && console_rows() == console_max_side;
        return bounded && console_cell(1, 1, false) == 'a' ? 0 : 1;
    });
    EXPECT_EQ(result, 0) << "above 1000: killed by a signal";
}

TEST(ConsoleTerminal, ControlBytesActAsTheTerminalDoes) {
    struct step {
        const char* text;
        int32_t row, column;
    };
    const step steps[] = {
        {"abc\r", 1, 1},        // CR: column 1
        {"xy\n", 2, 1},         // LF: new line, column 1
        {"ab\b", 2, 2},         // BS: one back
        {"\t", 2, 9},           // TAB: next multiple of 8
        {"\t\t\t", 2, 20},      // and no further than the last column
        {"\r\b", 2, 1},         // BS stops at column 1
    };
    pseudo_terminal pty(20, 5);
    for (const step& s : steps) {
        write_text(s.text);
        EXPECT_EQ(console_row(), s.row) << s.text;
        EXPECT_EQ(console_column(), s.column) << s.text;
    }
}

TEST(ConsoleTerminal, WrapsAfterTheLastColumnAndScrollsAtTheLastRow) {
    pseudo_terminal pty(4, 3);
    write_text("abcd");
    // The terminal keeps the cursor on the last column until the next character.
    EXPECT_EQ(console_row(), 1);
    EXPECT_EQ(console_column(), 4);
    write_text("e\nf\ng");
    EXPECT_EQ(row_text(1), "e   ");
    EXPECT_EQ(row_text(2), "f   ");
    EXPECT_EQ(row_text(3), "g   ");
    EXPECT_EQ(console_row(), 3);
    EXPECT_EQ(console_column(), 2);
}

TEST(ConsoleTerminal, LocateWritesTheCursorSequenceAndZeroKeepsAPart) {
    pseudo_terminal pty(20, 5);
    console_locate(3, 7);
    EXPECT_EQ(pty.output(), "\x1b[3;7H");
    console_locate(0, 2);
    EXPECT_EQ(pty.output(), "\x1b[3;2H");
    EXPECT_EQ(console_row(), 3);
    EXPECT_EQ(console_column(), 2);
    // Outside the terminal the cursor stops at its edge.
    console_locate(99, 99);
    EXPECT_EQ(console_row(), 5);
    EXPECT_EQ(console_column(), 20);
}

TEST(ConsoleTerminal, ClearEmptiesTheGridWithTheCurrentAttribute) {
    pseudo_terminal pty(10, 3);
    console_set_attribute(0x1E);
    write_text("hello");
    EXPECT_EQ(console_cell(1, 1, false), 'h');
    EXPECT_EQ(console_cell(1, 1, true), 0x1E);
    pty.output();
    console_set_attribute(0x70);
    console_clear();
    EXPECT_EQ(pty.output(), "\x1b[2J\x1b[H");
    EXPECT_EQ(row_text(1), std::string(10, ' '));
    EXPECT_EQ(console_cell(1, 1, true), 0x70);
    EXPECT_EQ(console_row(), 1);
    EXPECT_EQ(console_column(), 1);
    // Outside the grid a cell reads 0.
    EXPECT_EQ(console_cell(4, 1, false), 0);
    EXPECT_EQ(console_cell(1, 0, true), 0);
}

TEST(ConsoleTerminal, APipeGetsNoEscapeSequencesAndAStandardSize) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    FILE* out = fdopen(fds[1], "w");
    console_terminal_use(fds[0], out);
    EXPECT_FALSE(console_output_is_terminal());
    EXPECT_FALSE(console_input_is_terminal());
    EXPECT_EQ(console_columns(), 80);
    EXPECT_EQ(console_rows(), 25);
    console_locate(2, 3);
    console_clear();
    write_text("x");
    console_flush();
    char buffer[16];
    EXPECT_EQ(read(fds[0], buffer, sizeof buffer), 1);
    EXPECT_EQ(buffer[0], 'x');
    // Key mode does nothing to a pipe.
    EXPECT_EQ(console_set_mode(console_mode::keys), console_mode::saved);
    console_terminal_reset_for_tests();
    fclose(out);
    close(fds[0]);
}

TEST(ConsoleTerminal, KeyModeTurnsOffLinesAndEchoAndTracksTheMouseUntilRestored) {
    pseudo_terminal pty;
    termios before = pty.mode();
    ASSERT_TRUE(before.c_lflag & ICANON);
    EXPECT_EQ(console_set_mode(console_mode::keys), console_mode::saved);
    termios keys = pty.mode();
    EXPECT_FALSE(keys.c_lflag & (ICANON | ECHO));
    EXPECT_TRUE(keys.c_lflag & ISIG);  // Ctrl+C still interrupts
    EXPECT_EQ(keys.c_cc[VMIN], 0);
    EXPECT_EQ(pty.output(), "\x1b[?1003h\x1b[?1006h");

    EXPECT_EQ(console_set_mode(console_mode::line), console_mode::keys);
    EXPECT_TRUE(pty.mode().c_lflag & ICANON);
    EXPECT_TRUE(pty.mode().c_lflag & ECHO);
    EXPECT_EQ(pty.output(), "\x1b[?1003l\x1b[?1006l");

    console_set_mode(console_mode::keys);
    pty.output();
    // The exit path puts the first mode back and stops the mouse reports.
    console_terminal_restore();
    EXPECT_EQ(pty.output(), "\x1b[?1003l\x1b[?1006l");
    termios after = pty.mode();
    EXPECT_EQ(after.c_lflag, before.c_lflag);
    console_terminal_restore();
    EXPECT_EQ(pty.output(), "");
}

// A program that another takes over from (CHAIN, RUN) hands the terminal on as it
// found it, then leaves it alone: the other program's mode survives this one's exit.
TEST(ConsoleTerminal, ATerminalLeftToAnotherProgramIsNeverTouchedAgain) {
    pseudo_terminal pty;
    termios before = pty.mode();
    console_set_mode(console_mode::keys);
    pty.output();
    console_lend_terminal();
    EXPECT_EQ(pty.mode().c_lflag, before.c_lflag);
    EXPECT_EQ(pty.output(), "\x1b[?1003l\x1b[?1006l");
    console_leave_terminal();

    termios other = before;  // the other program reads keys now
    other.c_lflag &= ~tcflag_t(ICANON | ECHO);
    tcsetattr(pty.slave(), TCSANOW, &other);
    console_set_mode(console_mode::line);
    console_set_mode(console_mode::keys);
    console_terminal_restore();  // this program's exit
    EXPECT_EQ(pty.mode().c_lflag, other.c_lflag);
    EXPECT_EQ(pty.output(), "");
}

TEST(ConsoleTerminal, RecordsOfKeysAndMouseReports) {
    struct record_case {
        std::string typed;
        console_record::kind_t kind;
        int32_t scancode;
    };
    const record_case cases[] = {
        {"a", console_record::key, 30},       {"Z", console_record::key, 44},
        {"\n", console_record::key, 28},      {"\x7f", console_record::key, 14},
        {" ", console_record::key, 57},       {"\x1b", console_record::key, 1},
        {"\x1b[A", console_record::key, 72},  {"\x1b[B", console_record::key, 80},
        {"\x1b[C", console_record::key, 77},  {"\x1b[D", console_record::key, 75},
        {"\x1bOP", console_record::key, 59},  {"\x1b[15~", console_record::key, 63},
        {"\x1b[21~", console_record::key, 68}, {"\x1b[23~", console_record::key, 87},
        {"\x1b[24~", console_record::key, 88}, {"\x1b[2~", console_record::key, 82},
        {"\x1b[3~", console_record::key, 83}, {"\x1b[5~", console_record::key, 73},
        {"\x1b[6~", console_record::key, 81}, {"\x1b[H", console_record::key, 71},
        {"\x1b[F", console_record::key, 79},  {"\x1b[1;5A", console_record::key, 72},
        {"\x1b[99~", console_record::key, 0}, {"\x01", console_record::key, 0},
        // Alt+X, a byte above ASCII, a keypad key in application mode: no code.
        {"\x1bx", console_record::key, 0},   {"\xe9", console_record::key, 0},
        {"\x1bOq", console_record::key, 0},
    };
    pseudo_terminal pty;
    console_set_mode(console_mode::keys);
    for (const record_case& c : cases) {
        pty.type(c.typed);
        console_record r = console_read_record();
        EXPECT_EQ(r.kind, c.kind) << c.typed;
        EXPECT_EQ(r.scancode, c.scancode) << c.typed;
        EXPECT_EQ(console_input_state(), console_input::none) << c.typed << ": one record reads it all";
    }
    pty.type("\x1b[<0;10;5M\x1b[<2;3;4m");
    console_record press = console_read_record();
    EXPECT_EQ(press.kind, console_record::mouse);
    EXPECT_EQ(press.mouse_code, 0);
    EXPECT_EQ(press.mouse_x, 10);
    EXPECT_EQ(press.mouse_y, 5);
    EXPECT_FALSE(press.mouse_release);
    console_record release = console_read_record();
    EXPECT_EQ(release.kind, console_record::mouse);
    EXPECT_EQ(release.mouse_code, 2);
    EXPECT_TRUE(release.mouse_release);
    EXPECT_EQ(console_read_record().kind, console_record::none);
}

TEST(ConsoleTerminal, InputStateSeesNothingBytesAndTheEnd) {
    {
        pseudo_terminal pty;
        console_set_mode(console_mode::keys);
        EXPECT_EQ(console_input_state(), console_input::none);
        pty.type("q");
        EXPECT_EQ(console_input_state(), console_input::ready);
        console_flush_input();
        EXPECT_EQ(console_input_state(), console_input::none);
        pty.hang_up();
        EXPECT_EQ(console_input_state(), console_input::end);
    }
    int null_fd = open("/dev/null", O_RDONLY);
    console_terminal_use(null_fd, stdout);
    EXPECT_EQ(console_input_state(), console_input::end);
    close(null_fd);

    // Piped bytes are there, but they are not records: they belong to INPUT.
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    ASSERT_EQ(write(fds[1], "a", 1), 1);
    console_terminal_use(fds[0], stdout);
    EXPECT_EQ(console_input_state(), console_input::ready);
    EXPECT_EQ(console_read_record().kind, console_record::none);
    console_flush_input();
    uint8_t b = 0;
    EXPECT_TRUE(console_read_byte(&b));
    EXPECT_EQ(b, 'a');
    close(fds[1]);
    EXPECT_EQ(console_input_state(), console_input::end);
    console_terminal_reset_for_tests();
    close(fds[0]);
}

}  // namespace

namespace {

TEST(ConsoleTerminal, AnInterruptInKeyModeLeavesTheTerminalAsItWas) {
    pseudo_terminal pty;
    termios before = pty.mode();
    pid_t child = fork();
    if (child == 0) {
        console_set_mode(console_mode::keys);
        raise(SIGINT);
        _exit(0);  // not reached
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGINT);
    EXPECT_EQ(pty.mode().c_lflag, before.c_lflag);
    EXPECT_EQ(pty.output(), "\x1b[?1003h\x1b[?1006h\x1b[?1003l\x1b[?1006l");
}

}  // namespace
