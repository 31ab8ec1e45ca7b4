// _CONSOLE, _CONSOLE ON/OFF, _CONSOLETITLE, _CONSOLEFONT, the console cursor and
// _CINP on a pseudo-terminal standing for the console.
#include <gtest/gtest.h>

#include <string>

#include "core/program.h"
#include "error/error.h"
#include "image/image_table.h"
#include "platform/pty_fixture.h"
#include "string/zvs.h"
#include "string/zvs_debug.h"
#include "support/fake_clock.h"
#include "text/console_controls.h"
#include "text/console_input.h"

namespace {

class ConsoleControls : public ::testing::Test {
protected:
    static inline const zv_program console_program{nullptr, nullptr, nullptr, nullptr, 0, 1, 0, 0, nullptr};
    fake_clock clock;
    pseudo_terminal terminal;
    void SetUp() override {
        error_reset_for_tests();
        zvs_reset_for_tests(1048576, 65536, 65536);
        console_controls_reset_for_tests();
        console_input_reset_for_tests();
        libzv_set_program(&console_program);
    }
    void TearDown() override { libzv_set_program(nullptr); }
    static zvs* text(const std::string& s) { return zvs_new_txt_len(s.data(), int32_t(s.size())); }
};

TEST_F(ConsoleControls, TitleIsAnOscSequenceWithoutControlBytes) {
    struct {
        std::string title, expected;
    } cases[] = {
        {"T", "\033]0;T\007"},
        {"A\007B", "\033]0;AB\007"},
        {std::string("x\033]0;evil\007\x7f\x01y"), "\033]0;x]0;evily\007"},
        {"", "\033]0;\007"},
    };
    for (const auto& c : cases) {
        int64_t before = clock.slept_ms.load();
        sub__consoletitle(text(c.title));
        EXPECT_EQ(terminal.output(), c.expected);
        EXPECT_EQ(clock.slept_ms.load() - before, 40);
    }
}

TEST_F(ConsoleControls, ConsoleOffMakesTheTitleDoNothingUntilOn) {
    sub__console(0);
    EXPECT_EQ(console_active.load(), 0);
    sub__consoletitle(text("T"));
    EXPECT_EQ(terminal.output(), "");
    // Nothing is hidden: text still reaches the terminal.
    console_write("x", 1);
    EXPECT_EQ(terminal.output(), "x");
    sub__console(1);
    EXPECT_EQ(console_active.load(), 1);
    sub__consoletitle(text("T"));
    EXPECT_EQ(terminal.output(), "\033]0;T\007");
}

TEST_F(ConsoleControls, AProgramWithoutAConsoleKeepsItsStateAndWritesNoTitle) {
    libzv_set_program(nullptr);
    sub__console(0);
    EXPECT_EQ(console_active.load(), 1);
    sub__consoletitle(text("T"));
    EXPECT_EQ(terminal.output(), "");
}

TEST_F(ConsoleControls, CursorShowsHidesAndKeepsASizeOutOfRange) {
    struct {
        int32_t mode, size, passed;
        const char* expected;
    } steps[] = {
        {2, 0, 1, "\033[?25l\033[4 q"},
        {1, 0, 1, "\033[?25h\033[4 q"},
        {0, 80, 2, "\033[?25h\033[2 q"},
        {0, 101, 2, "\033[?25h\033[2 q"},   // 101 keeps 80
        {0, -1, 2, "\033[?25h\033[2 q"},
        {2, 49, 3, "\033[?25l\033[4 q"},
        {0, 0, 2, "\033[?25l\033[4 q"},     // size 0 is accepted
        {3, 0, 1, "\033[?25l\033[4 q"},     // other modes change nothing
    };
    for (const auto& s : steps) {
        sub__console_cursor(s.mode, s.size, s.passed);
        EXPECT_EQ(terminal.output(), s.expected) << s.mode << " " << s.size;
    }
}

TEST_F(ConsoleControls, FontSleepsOnItsFirstCallOnly) {
    sub__consolefont(text("Lucida Console"), 16);
    EXPECT_EQ(clock.slept_ms.load(), 500);
    sub__consolefont(text(""), 8);
    EXPECT_EQ(clock.slept_ms.load(), 500);
    EXPECT_EQ(terminal.output(), "");
}

TEST_F(ConsoleControls, CinpReturnsTheLastKeyOnceAndReleasesAsScancodePlus128) {
    console_last_scancode = -30;
    EXPECT_EQ(func__cinp(0, 1), 158);
    EXPECT_EQ(func__cinp(0, 1), 0);
    console_last_scancode = -30;
    EXPECT_EQ(func__cinp(0, 0), -30);
    console_last_scancode = -30;
    EXPECT_EQ(func__cinp(5, 1), -30);
    console_last_scancode = 30;
    EXPECT_EQ(func__cinp(0, 1), 30);
    EXPECT_EQ(console_last_scancode, 0);
}

TEST_F(ConsoleControls, ConsoleFunctionAndStatementsWhileAnErrorIsPending) {
    set_console_image(-5);
    EXPECT_EQ(func__console(), -5);
    error(53);
    EXPECT_EQ(func__console(), -1);
    sub__console(0);
    EXPECT_EQ(console_active.load(), 1);
    sub__consoletitle(text("T"));
    sub__console_cursor(2, 0, 1);
    EXPECT_EQ(terminal.output(), "");
    console_last_scancode = 30;
    func__cinp(0, 0);
    EXPECT_EQ(console_last_scancode, 30);
}

}  // namespace
