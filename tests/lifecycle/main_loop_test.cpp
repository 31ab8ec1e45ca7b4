// The housekeeping pass, BIOS ticks and the shutdown handshake, with a fake clock.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "core/runtime_flags.h"
#include "display/display.h"
#include "lifecycle/end.h"
#include "lifecycle/main_loop.h"
#include "memory/cmem.h"
#include "shell/shell_flags.h"
#include "support/fake_clock.h"

namespace {

struct recorder {
    static inline std::vector<std::string> events;
    static inline int pass = 0;
    static void display() { events.push_back("display@" + std::to_string(pass)); }
    static void lock_keys() { events.push_back("locks@" + std::to_string(pass)); }
    static void nothing() {}
    static void close_all() { events.push_back("close"); }
    static inline const main_loop_hooks hooks{display, lock_keys, nothing, nothing, close_all};
};

class MainLoop : public ::testing::Test {
protected:
    fake_clock clock;
    main_loop_state state;
    void SetUp() override {
        runtime_flags_reset_for_tests();
        shell_call_in_progress = 0;
        autodisplay = 1;
        recorder::events.clear();
        recorder::pass = 0;
        main_loop_set_hooks(&recorder::hooks);
    }
    void TearDown() override { main_loop_set_hooks(nullptr); }
    main_loop_step pass() {
        recorder::pass++;
        return main_loop_pass(state);
    }
};

TEST_F(MainLoop, FramesOnOddPassesLockKeysOnEvenPasses) {
    for (int i = 0; i < 6; i++) ASSERT_EQ(pass(), main_loop_step::go_on);
    EXPECT_EQ(recorder::events, (std::vector<std::string>{"display@1", "locks@2", "display@3", "locks@4",
                                                          "display@5", "locks@6"}));
    EXPECT_EQ(frame.load(), 3);
    EXPECT_EQ(fake_clock::slept_ms.load(), 6 * 16);
    EXPECT_EQ(vertical_retrace_happened.load(), 1);
    EXPECT_EQ(vertical_retrace_in_progress.load(), 0);
}

TEST_F(MainLoop, WithoutAutodisplayFramesAreCountedButNotProduced) {
    autodisplay = 0;
    for (int i = 0; i < 6; i++) pass();
    EXPECT_EQ(recorder::events, (std::vector<std::string>{"locks@2", "locks@4", "locks@6"}));
    EXPECT_EQ(frame.load(), 3);
}

TEST_F(MainLoop, CloseRequestShutsDownUnlessExitIsInUse) {
    exit_value = 1;
    exit_blocked = 1;
    EXPECT_EQ(pass(), main_loop_step::go_on);
    exit_blocked = 0;
    EXPECT_EQ(pass(), main_loop_step::shut_down);
}

TEST_F(MainLoop, CloseProgramShutsDownAndHoldsTheLoop) {
    close_program = 1;
    EXPECT_EQ(pass(), main_loop_step::shut_down);
    EXPECT_EQ(lock_mainloop.load(), 2);
}

TEST_F(MainLoop, WhileShellRunsOnlyTheScreenIsKept) {
    shell_call_in_progress = 1;
    close_program = 1;
    EXPECT_EQ(pass(), main_loop_step::go_on);
    EXPECT_EQ(shell_call_in_progress.load(), -1);
    EXPECT_EQ(recorder::events, std::vector<std::string>{"display@1"});
    EXPECT_EQ(frame.load(), 1);
    EXPECT_EQ(pass(), main_loop_step::go_on);  // idles
    EXPECT_EQ(fake_clock::slept_ms.load(), 64);
    EXPECT_EQ(frame.load(), 1);
    shell_call_in_progress = 0;
    EXPECT_EQ(pass(), main_loop_step::shut_down);
}

TEST_F(MainLoop, PauseRequestIsGrantedAndHeld) {
    lock_mainloop = 1;
    std::thread requester([] {
        while (lock_mainloop.load() != 2) std::this_thread::yield();
        lock_mainloop = 0;
    });
    EXPECT_EQ(pass(), main_loop_step::go_on);
    requester.join();
    EXPECT_EQ(lock_mainloop.load(), 0);
}

struct bios_case {
    libzv_local_time time;
    uint8_t b0, b1, b2;
};

TEST_F(MainLoop, BiosTicksFollowTheTimeOfDay) {
    const bios_case cases[] = {
        {{2026, 1, 1, 0, 0, 0, 500}, 0x09, 0x00, 0x00},
        {{2026, 1, 1, 12, 0, 0, 0}, 0x40, 0xFF, 0x0B},
        {{2026, 1, 1, 23, 59, 59, 999}, 0x7F, 0xFE, 0x17},
    };
    for (const auto& c : cases) {
        fake_clock::local = c.time;
        cmem[0x46F] = 0xAA;
        main_loop_update_bios_ticks();
        EXPECT_EQ(cmem[0x46C], c.b0);
        EXPECT_EQ(cmem[0x46D], c.b1);
        EXPECT_EQ(cmem[0x46E], c.b2);
        EXPECT_EQ(cmem[0x46F], 0xAA);
    }
}

TEST_F(MainLoop, ShutdownWaitsForProgramAndTimerThreads) {
    std::atomic<bool> done{false};
    std::thread housekeeping([&] {
        main_loop_stop_threads();
        done = true;
    });
    // The program thread reaches its boundary check and parks.
    while (!zvevent.load()) std::this_thread::yield();
    EXPECT_EQ(stop_program.load(), 1);
    end_set_park_hook([] { throw 1; });
    EXPECT_THROW(end(), int);
    end_set_park_hook(nullptr);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_FALSE(done.load());  // the timer thread has not answered yet
    exit_ok.fetch_or(2);
    housekeeping.join();
    EXPECT_TRUE(done.load());
    EXPECT_EQ(recorder::events, std::vector<std::string>{"close"});
}

}  // namespace
