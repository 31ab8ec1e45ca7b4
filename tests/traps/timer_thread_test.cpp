// The timer thread on the real clock: handlers at the interval, growth of the
// table while the thread runs, and its answer to the shutdown.
#include <atomic>
#include <thread>

#include "clock/clock.h"
#include "program.h"
#include "trap_fixture.h"

namespace {

class TimerThread : public TrapTest {
protected:
    std::thread thread;

    void SetUp() override {
        TrapTest::SetUp();
        clock_set_source(nullptr);
        clock_init();
        thread = std::thread(TIMERTHREAD, nullptr);
    }
    void TearDown() override {
        stop_program = 1;
        thread.join();
        TrapTest::TearDown();
    }
    // The program thread's statement loop: boundaries for ms milliseconds.
    static void run_program_for(int64_t ms) {
        int64_t until = GetTicks() + ms;
        while (GetTicks() < until) {
            if (zvevent.load()) evnt(0, 0, nullptr);
            libzv_sleep_ms(1);
        }
    }
};

TEST_F(TimerThread, TenthOfASecondTimerRunsAboutTenTimesASecond) {
    ontimer_setup(0, 0.1, 8, 0);
    sub_timer(0, TRAP_ACTION_ON, 0);
    run_program_for(1000);
    // 9 or 10 on an idle machine; a busy one delays the program thread, and a late
    // timer fires once rather than in a burst.
    EXPECT_GE(handler_recorder::calls.size(), 5u);
    EXPECT_LE(handler_recorder::calls.size(), 11u);
}

TEST_F(TimerThread, GrowthWhileTheThreadRunsAddsOneSlotAndTheThreadGoesOn) {
    int32_t t = func__freetimer();
    EXPECT_EQ(t, 1);
    EXPECT_EQ(ontimer_nextfree.load(), 2);
    EXPECT_EQ(ontimerthread_lock.load(), 0);
    ontimer_setup(t, 0.02, 9, 0);
    sub_timer(t, TRAP_ACTION_ON, 1);
    int64_t until = GetTicks() + 5000;
    while (handler_recorder::calls.empty() && GetTicks() < until) {
        if (zvevent.load()) evnt(0, 0, nullptr);
        libzv_sleep_ms(1);
    }
    ASSERT_FALSE(handler_recorder::calls.empty());
    EXPECT_EQ(handler_recorder::calls[0].first, 9);
}

TEST_F(TimerThread, StopsSoonAfterTheShutdownAndGrowthThenGivesZero) {
    stop_program = 1;
    int64_t asked = GetTicks();
    while (!(exit_ok.load() & 2) && GetTicks() - asked < 1000) std::this_thread::yield();
    // One pass sleeps 1 ms; the slack is for a loaded machine.
    EXPECT_LT(GetTicks() - asked, 50);
    EXPECT_EQ(exit_ok.load(), 2);
    thread.join();
    thread = std::thread([] {});

    EXPECT_EQ(func__freetimer(), 0);
    EXPECT_EQ(ontimer_nextfree.load(), 1);
}

}  // namespace
