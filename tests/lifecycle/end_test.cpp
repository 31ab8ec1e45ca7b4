// END and end(): the park, the prompt in the window against fake text and keyboard
// calls, the key wait on a pipe and on a pseudo-terminal, and the paths of END.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <deque>
#include <string>
#include <thread>
#include <vector>

#include "core/program.h"
#include "core/runtime_flags.h"
#include "core/statement_flags.h"
#include "display/display.h"
#include "error/error.h"
#include "font/font_tables.h"
#include "glut/glut_setup.h"
#include "image/image_modes.h"
#include "image/image_table.h"
#include "lifecycle/end.h"
#include "palette/palette.h"
#include "screen/screen.h"
#include "string/zvs.h"
#include "string/zvs_debug.h"

namespace {

// The text and keyboard calls of END's prompt, recorded and scripted.
struct fake_screen {
    static inline std::vector<std::string> calls;
    static inline std::deque<std::string> keys;  // INKEY$ results; "" once they run out
    static inline int reads = 0;
    static inline int stop_after_reads = -1;  // sets stop_program on that read

    static void view_print(int32_t top, int32_t bottom) {
        calls.push_back("view " + std::to_string(top) + " " + std::to_string(bottom));
    }
    static void print(zvs* text, int32_t new_line) {
        calls.push_back("print '" + std::string(reinterpret_cast<char*>(text->text), size_t(text->length)) + "' " +
                        std::to_string(new_line));
    }
    static zvs* inkey() {
        if (++reads == stop_after_reads) stop_program = 1;
        if (keys.empty()) return zvs_new_txt("");
        std::string k = keys.front();
        keys.pop_front();
        calls.push_back("key " + k + " autodisplay " + std::to_string(autodisplay.load()));
        zvs* s = zvs_new(int32_t(k.size()), 1);
        memcpy(s->text, k.data(), k.size());
        return s;
    }
    static inline const end_screen_calls table{view_print, print, inkey};
};

class End : public ::testing::Test {
protected:
    static void nothing() {}
    static void no_dispatch(int32_t, int64_t) {}
    zv_program program{nothing, nothing, no_dispatch, nullptr, 0, 0, 0, 0, nullptr};

    void SetUp() override {
        runtime_flags_reset_for_tests();
        statement_flags_reset_for_tests();
        error_reset_for_tests();
        zvs_reset_for_tests(1048576, 65536, 65536);
        palette_global_init();
        font_tables_reset_for_tests();
        screen_reset_for_tests();
        image_table_reset_for_tests();
        end_reset_for_tests();
        screen_hide = 0;
        autodisplay = 0;
        fake_screen::calls.clear();
        fake_screen::keys.clear();
        fake_screen::reads = 0;
        fake_screen::stop_after_reads = -1;
        end_set_screen_calls(&fake_screen::table);
        libzv_set_program(&program);
    }
    void TearDown() override {
        end_reset_for_tests();
        libzv_set_program(nullptr);
        image_table_reset_for_tests();
        screen_reset_for_tests();
    }

    // SCREEN mode, while the program draws on an image of its own.
    static int32_t screen_drawing_elsewhere(int32_t mode) {
        zvg_screen(mode, 0, 0, 0, 0, 1);
        EXPECT_EQ(new_error.load(), 0);
        set_write_page(imgnew(64, 64, 32));
        return page_index(0);
    }
};

TEST_F(End, PromptGoesOnTheLastRowOfTheDisplayPageInScreen12) {
    int32_t page = screen_drawing_elsewhere(12);
    fake_screen::keys = {"a", "b", "", "", "x"};
    uint32_t mark = zvs_tmp_list_nexti();
    EXPECT_TRUE(end_wait_in_window());
    EXPECT_EQ(write_page_index(), page);
    const std::vector<std::string> expected{
        "view 30 30",
        "print '' 1",
        "print 'Press any key to continue' 0",
        "key a autodisplay 0",  // keys pressed before END are drained first
        "key b autodisplay 0",
        "key  autodisplay 0",  // the drain ends on the first empty read
        "key  autodisplay 1",  // then the wait proper
        "key x autodisplay 1",
    };
    EXPECT_EQ(fake_screen::calls, expected);
    EXPECT_EQ(zvs_tmp_list_nexti(), mark);  // every INKEY$ result released
}

TEST_F(End, TextPagesUseTheirRowCount) {
    screen_drawing_elsewhere(0);
    fake_screen::keys = {"", "k"};
    EXPECT_TRUE(end_wait_in_window());
    EXPECT_EQ(fake_screen::calls[0], "view 25 25");
}

TEST_F(End, TheWaitGivesUpWhenTheProgramIsStopping) {
    screen_drawing_elsewhere(12);
    fake_screen::stop_after_reads = 3;
    EXPECT_FALSE(end_wait_in_window());
    EXPECT_EQ(fake_screen::reads, 3);
}

TEST_F(End, WithoutTextAndKeyboardOnlyTheShutdownEndsTheWait) {
    end_set_screen_calls(nullptr);
    std::thread([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        stop_program = 1;
    }).detach();
    EXPECT_FALSE(end_wait_in_window());
}

// Standard output captured while the console wait runs.
bool console_wait_captured(int fd, std::string* out) {
    ::testing::internal::CaptureStdout();
    bool result = end_wait_on_console(fd);
    *out = ::testing::internal::GetCapturedStdout();
    return result;
}

TEST_F(End, ConsoleWaitEndsOnOneByteOrTheEndOfInput) {
    int p[2];
    ASSERT_EQ(pipe(p), 0);
    ASSERT_EQ(write(p[1], "zz", 2), 2);
    std::string out;
    EXPECT_TRUE(console_wait_captured(p[0], &out));
    EXPECT_EQ(out, "\nPress any key to continue");
    char rest;
    EXPECT_EQ(read(p[0], &rest, 1), 1);  // only one byte was taken

    close(p[1]);
    EXPECT_TRUE(console_wait_captured(p[0], &out));
    close(p[0]);
}

TEST_F(End, ConsoleWaitGivesUpWhenTheProgramIsStopping) {
    int p[2];
    ASSERT_EQ(pipe(p), 0);
    std::thread([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        stop_program = 1;
    }).detach();
    std::string out;
    EXPECT_FALSE(console_wait_captured(p[0], &out));
    close(p[0]);
    close(p[1]);
}

TEST_F(End, ConsoleWaitOnATerminalTakesOneRawKeyAfterDroppingTypedAhead) {
    int master, slave;
    ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    // Typed before END: a whole line, readable on the terminal, then discarded.
    ASSERT_EQ(write(master, "x\n", 2), 2);
    pollfd typed{slave, POLLIN, 0};
    ASSERT_EQ(poll(&typed, 1, 2000), 1);

    std::atomic<tcflag_t> lflag_during{0};
    std::thread keyboard([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        termios t;
        tcgetattr(slave, &t);
        lflag_during = t.c_lflag;
        EXPECT_EQ(write(master, "y", 1), 1);  // one key, no Enter
    });
    std::string out;
    EXPECT_TRUE(console_wait_captured(slave, &out));
    keyboard.join();
    EXPECT_EQ(lflag_during & (ICANON | ECHO), 0u);
    termios after;
    tcgetattr(slave, &after);
    EXPECT_NE(after.c_lflag & ICANON, 0u);  // the mode is restored
    EXPECT_NE(after.c_lflag & ECHO, 0u);
    pollfd left{slave, POLLIN, 0};
    EXPECT_EQ(poll(&left, 1, 0), 0);  // the typed-ahead line is gone
    close(master);
    close(slave);
}

using EndDeathTest = End;

// In the child: what the park finds. 42 after a close request with every
// statement-level reset done.
void park_reports_state() {
    bool ok = (exit_ok.load() & 1) && close_program.load() && dont_call_sub_gl.load() && !exit_blocked.load();
    _exit(ok ? 42 : 43);
}

TEST_F(EndDeathTest, HiddenGraphicalProgramEndsWithoutWaiting) {
    EXPECT_EXIT(
        {
            static bool closed = false;
            end_set_close_all_files([] { closed = true; });
            end_set_park_hook([] {
                if (!closed) _exit(44);
                park_reports_state();
            });
            screen_hide = 1;
            exit_blocked = 1;
            sub_end();
        },
        ::testing::ExitedWithCode(42), "");
}

TEST_F(EndDeathTest, WindowedProgramEndsAfterAKey) {
    EXPECT_EXIT(
        {
            screen_drawing_elsewhere(12);
            fake_screen::keys.push_back("");
            fake_screen::keys.push_back("q");
            end_set_park_hook([] {
                if (fake_screen::reads != 2) _exit(44);
                park_reports_state();
            });
            sub_end();
        },
        ::testing::ExitedWithCode(42), "");
}

TEST_F(EndDeathTest, StopDuringTheWaitParksAtOnce) {
    EXPECT_EXIT(
        {
            screen_drawing_elsewhere(12);
            fake_screen::stop_after_reads = 2;
            end_set_park_hook([] { _exit(exit_ok.load() == 1 && !close_program.load() ? 42 : 43); });
            sub_end();
        },
        ::testing::ExitedWithCode(42), "");
}

TEST_F(EndDeathTest, HiddenConsoleProgramPromptsOnTheTerminalAndTakesAByte) {
    program.console = 1;
    EXPECT_EXIT(
        {
            int p[2];
            if (pipe(p) != 0 || write(p[1], "k", 1) != 1) _exit(45);
            dup2(p[0], STDIN_FILENO);
            dup2(STDERR_FILENO, STDOUT_FILENO);  // the prompt where the test sees it
            screen_hide = 1;
            end_set_park_hook(park_reports_state);
            sub_end();
        },
        ::testing::ExitedWithCode(42), "\nPress any key to continue");
}

TEST_F(EndDeathTest, EndInsideTheGlSubIsFatal) {
    EXPECT_EXIT(
        {
            sub_gl_called = 1;
            sub_end();
        },
        ::testing::ExitedWithCode(0), "END/SYSTEM called within SUB _GL's scope");
}

TEST_F(End, EndParksAndReports) {
    end_set_park_hook([] { throw 7; });
    EXPECT_THROW(end(), int);
    EXPECT_EQ(exit_ok.load(), 1);
    EXPECT_EQ(dont_call_sub_gl.load(), 1);
    EXPECT_EQ(stop_program_state(), 0);
    stop_program = 1;
    EXPECT_EQ(stop_program_state(), 1);
}

}  // namespace
