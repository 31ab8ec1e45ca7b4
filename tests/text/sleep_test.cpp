// SLEEP in a window and on the console, and the console input reader, on a fake clock.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <functional>
#include <thread>
#include <vector>

#include "core/boundary.h"
#include "core/runtime_flags.h"
#include "platform/pty_fixture.h"
#include "support/fake_clock.h"
#include "text/text_fixture.h"

namespace {

// The fake clock, with every sleep recorded.
std::vector<int64_t> sleeps;
void recording_sleep(int64_t ms) {
    sleeps.push_back(ms);
    fake_clock::sleep(ms);
}
const clock_source recording_source{fake_clock::monotonic, fake_clock::local_now, recording_sleep};

// What the statement boundary does on each pass of the wait (traps, keys, the stop).
std::function<void(int32_t pass)> on_pass;
int32_t passes = 0;
void boundary() {
    ++passes;
    if (on_pass) on_pass(passes);
}

int64_t now_ms() { return fake_clock::now_ns.load() / 1000000; }

class Sleep : public TextTest {
protected:
    void SetUp() override {
        TextTest::SetUp();
        runtime_flags_reset_for_tests();
        clock_set_source(&recording_source);
        fake_clock::now_ns = 0;
        clock_init();
        sleeps.clear();
        passes = 0;
        on_pass = nullptr;
        libzv_set_boundary_check(boundary);
        screen(12);
    }
    void TearDown() override {
        libzv_set_boundary_check(nullptr);
        clock_set_source(nullptr);
        runtime_flags_reset_for_tests();
        TextTest::TearDown();
    }
};

TEST_F(Sleep, AWindowSleepOfOneSecondEndsOnTime) {
    sub_sleep(1, 1);
    EXPECT_EQ(now_ms(), 1000);
    std::vector<int64_t> expected(111, 9);
    expected.push_back(1);
    EXPECT_EQ(sleeps, expected);
}

TEST_F(Sleep, AKeyEndsTheSleepOnThatPass) {
    int32_t woken_on = 0;
    on_pass = [&](int32_t pass) {
        if (now_ms() >= 200 && !woken_on) {
            woken_on = pass;
            sleep_key_event();
        }
    };
    sub_sleep(1, 1);
    EXPECT_EQ(passes, woken_on);
    EXPECT_LT(now_ms(), 210);
    EXPECT_EQ(sleep_key_events(), 1u);
}

TEST_F(Sleep, WithoutATimeOnlyAKeyATimerOrTheStopEndsTheWait) {
    struct untimed {
        int32_t seconds, passed;
    };
    for (untimed u : {untimed{0, 0}, untimed{0, 1}, untimed{-1, 1}}) {
        fake_clock::now_ns = 0;
        clock_init();
        bool waited_ten_minutes = false;
        on_pass = [&](int32_t) {
            if (now_ms() >= 600000) {
                waited_ten_minutes = true;
                sleep_wake();  // an ON TIMER handler ran
            }
        };
        sub_sleep(u.seconds, u.passed);
        EXPECT_TRUE(waited_ten_minutes) << u.seconds << "/" << u.passed;
        EXPECT_LT(now_ms(), 600000 + 10);
    }
    on_pass = [&](int32_t pass) {
        if (pass == 5) stop_program = 1;
    };
    passes = 0;
    sub_sleep(0, 0);
    EXPECT_EQ(passes, 5);
}

TEST_F(Sleep, SleepBreakIsClearedWhenASleepStarts) {
    sleep_wake();
    sub_sleep(1, 1);
    EXPECT_EQ(now_ms(), 1000);
}

TEST_F(Sleep, LongSleepsDoNotOverflow) {
    on_pass = [&](int32_t pass) {
        if (pass == 1) fake_clock::now_ns = 2999999000LL * 1000000;
        if (pass == 3) fake_clock::now_ns = 3000000000LL * 1000000;
    };
    sub_sleep(3000000, 1);
    EXPECT_EQ(passes, 3);
    EXPECT_EQ(now_ms(), 3000000000LL);
}

TEST_F(Sleep, NothingWhileAnErrorIsPending) {
    error(5);
    sub_sleep(1, 1);
    EXPECT_EQ(passes, 0);
    EXPECT_EQ(now_ms(), 0);
    take_error();
}

class ConsoleSleep : public Sleep {
protected:
    void SetUp() override {
        Sleep::SetUp();
        console_page();
    }
};

TEST_F(ConsoleSleep, SleepZeroIsOneWaitOfTenMilliseconds) {
    pseudo_terminal pty;
    sub_sleep(0, 1);
    EXPECT_EQ(sleeps, std::vector<int64_t>{10});
}

TEST_F(ConsoleSleep, AKeyOnTheTerminalEndsTheSleepAndIsFlushed) {
    pseudo_terminal pty;
    termios before = pty.mode();
    on_pass = [&](int32_t pass) {
        if (pass == 1) {
            EXPECT_FALSE(pty.mode().c_lflag & ICANON);  // keys without Enter
            pty.type("ab");
        }
    };
    sub_sleep(0, 0);
    EXPECT_EQ(passes, 1);
    EXPECT_EQ(sleeps.back(), 100);  // the pause after the key
    EXPECT_EQ(console_last_scancode, 30);
    EXPECT_EQ(console_input_state(), console_input::none);
    EXPECT_EQ(pty.mode().c_lflag, before.c_lflag);
}

TEST_F(ConsoleSleep, AMouseReportDoesNotEndTheSleep) {
    pseudo_terminal pty;
    on_pass = [&](int32_t pass) {
        if (pass == 3) pty.type("\x1b[<35;3;4M");
    };
    sub_sleep(1, 1);
    EXPECT_EQ(now_ms(), 1000);
    EXPECT_EQ(console_input_state(), console_input::none);
    EXPECT_EQ(console_mouse_x, 3);
    EXPECT_EQ(console_mouse_y, 4);
}

TEST_F(ConsoleSleep, AKeyTypedBeforeTheSleepIsDropped) {
    pseudo_terminal pty;
    console_set_mode(console_mode::keys);
    pty.type("a");
    sub_sleep(1, 1);
    EXPECT_EQ(now_ms(), 1000);
}

TEST_F(ConsoleSleep, TheEndOfInputEndsAWaitForAKeyButNotATimedSleep) {
    int null_fd = open("/dev/null", O_RDONLY);
    console_terminal_use(null_fd, stdout);
    sub_sleep(0, 0);
    EXPECT_EQ(now_ms(), 0);
    sub_sleep(1, 1);
    EXPECT_EQ(now_ms(), 1000);
    EXPECT_EQ(sleeps, std::vector<int64_t>(100, 10));  // no spinning
    console_terminal_reset_for_tests();
    close(null_fd);

    pseudo_terminal pty;
    passes = 0;
    on_pass = [&](int32_t pass) {
        if (pass == 2) pty.hang_up();
    };
    sub_sleep(0, 0);
    EXPECT_EQ(passes, 2);
}

TEST_F(ConsoleSleep, PipedInputIsLeftForInput) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    ASSERT_EQ(write(fds[1], "a", 1), 1);
    console_terminal_use(fds[0], stdout);
    sub_sleep(1, 1);
    EXPECT_EQ(now_ms(), 1000);
    EXPECT_EQ(func__getconsoleinput(), 0);
    uint8_t b = 0;
    EXPECT_TRUE(console_read_byte(&b));
    EXPECT_EQ(b, 'a');
    console_terminal_reset_for_tests();
    close(fds[0]);
    close(fds[1]);
}

TEST_F(ConsoleSleep, TheInputReaderGivesKeysAndMouseReports) {
    pseudo_terminal pty;
    EXPECT_EQ(func__getconsoleinput(), 0);
    EXPECT_EQ(console_last_scancode, 0);
    EXPECT_FALSE(pty.mode().c_lflag & ICANON);  // it stays in key mode for the next call
    struct key_case {
        const char* typed;
        int32_t scancode;
    };
    for (key_case k : {key_case{"a", 30}, key_case{"\x1b[A", 72}, key_case{"\x1bOP", 59}}) {
        pty.type(k.typed);
        EXPECT_EQ(func__getconsoleinput(), 1) << k.typed;
        EXPECT_EQ(console_last_scancode, k.scancode) << k.typed;
    }
    struct mouse_case {
        const char* typed;
        int32_t x, y, buttons;
    };
    const mouse_case reports[] = {
        {"\x1b[<0;10;5M", 10, 5, 1},  {"\x1b[<2;11;5M", 11, 5, 3},      {"\x1b[<34;12;6M", 12, 6, 3},
        {"\x1b[<0;12;6m", 12, 6, 2},  {"\x1b[<64;1;1M", 1, 1, 2 | 120 << 16},
        {"\x1b[<2;1;1m", 1, 1, 0},    {"\x1b[<65;1;1M", 1, 1, int32_t(0xFF880000u)},
    };
    for (const mouse_case& m : reports) {
        pty.type(m.typed);
        EXPECT_EQ(func__getconsoleinput(), 2) << m.typed + 1;
        EXPECT_EQ(console_mouse_x, m.x) << m.typed + 1;
        EXPECT_EQ(console_mouse_y, m.y) << m.typed + 1;
        EXPECT_EQ(console_mouse_buttons, m.buttons) << m.typed + 1;
    }
}

TEST_F(ConsoleSleep, TheConsoleWaitForAKey) {
    {
        pseudo_terminal pty;
        pty.type("x");  // dropped: typed before the wait
        std::thread typist([&] {
            usleep(100000);
            pty.type("\x1b[<0;1;1M");
            usleep(50000);
            pty.type("k");
        });
        console_wait_key();
        typist.join();
        EXPECT_EQ(console_last_scancode, 37);
        EXPECT_GE(now_ms(), 50);
    }
    {
        pseudo_terminal pty;
        pty.hang_up();
        console_wait_key();
    }
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    ASSERT_EQ(write(fds[1], "zz", 2), 2);
    console_terminal_use(fds[0], stdout);
    console_wait_key();
    uint8_t b = 0;
    EXPECT_TRUE(console_read_byte(&b));  // one byte stood for the key
    EXPECT_EQ(b, 'z');
    stop_program = 1;
    console_wait_key();
    console_terminal_reset_for_tests();
    close(fds[0]);
    close(fds[1]);
}

}  // namespace
