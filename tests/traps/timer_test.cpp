// ON TIMER: timer numbers and _FREETIMER, and single passes of the timer thread on
// a fake clock (every pass sleeps 1 ms, which moves the clock on by 1 ms).
#include <atomic>
#include <functional>
#include <thread>

#include "support/fake_clock.h"
#include "trap_fixture.h"

namespace {

// Answers stop requests as the timer thread does, until destroyed.
class timer_thread_stand_in {
public:
    timer_thread_stand_in()
        : thread([this] {
              while (!quit) {
                  int32_t one = 1;
                  ontimerthread_lock.compare_exchange_strong(one, 2);
                  std::this_thread::yield();
              }
          }) {}
    ~timer_thread_stand_in() {
        quit = true;
        thread.join();
    }
    // _FREETIMER, answered.
    int32_t grow() { return func__freetimer(); }

private:
    std::atomic<bool> quit{false};
    std::thread thread;
};

class TimerNumbers : public TrapTest {
protected:
    timer_thread_stand_in answering;
};

TEST_F(TimerNumbers, NewNumbersGrowTheTableAndFreedNumbersComeBack) {
    EXPECT_EQ(ontimer_nextfree.load(), 1);
    EXPECT_EQ(ontimer(0).allocated.load(), 1);
    for (int32_t n = 1; n <= 40; ++n) ASSERT_EQ(func__freetimer(), n);  // across several chunks
    EXPECT_EQ(ontimer_nextfree.load(), 41);
    EXPECT_EQ(ontimerthread_lock.load(), 0);

    sub_timer(3, TRAP_ACTION_FREE, 1);
    EXPECT_EQ(ontimer(3).allocated.load(), 0);
    EXPECT_EQ(func__freetimer(), 3);
    EXPECT_EQ(ontimer(3).allocated.load(), 1);
    EXPECT_EQ(func__freetimer(), 41);
}

TEST_F(TimerNumbers, FreeListGrowsAndHandsNumbersBackLastFreedFirst) {
    for (int32_t n = 1; n <= 20; ++n) func__freetimer();
    for (int32_t n = 1; n <= 20; ++n) sub_timer(n, TRAP_ACTION_FREE, 1);
    for (int32_t n = 20; n >= 1; --n) ASSERT_EQ(func__freetimer(), n);
    EXPECT_EQ(func__freetimer(), 21);
}

TEST_F(TimerNumbers, ReusedNumberLosesItsHandler) {
    int32_t t = func__freetimer();
    ontimer_setup(t, 1, 8, 0);
    sub_timer(t, TRAP_ACTION_ON, 1);
    sub_timer(t, TRAP_ACTION_FREE, 1);
    EXPECT_EQ(func__freetimer(), t);
    EXPECT_EQ(ontimer(t).id.load(), 0);
    EXPECT_EQ(ontimer(t).active.load(), TRAP_OFF);
}

TEST_F(TimerNumbers, NumbersThatAreNotAllocatedRaiseError5) {
    func__freetimer();
    func__freetimer();
    func__freetimer();
    sub_timer(3, TRAP_ACTION_FREE, 1);
    EXPECT_EQ(take_error(), 0);
    sub_timer(3, TRAP_ACTION_FREE, 1);
    EXPECT_EQ(take_error(), 5);
    sub_timer(0, TRAP_ACTION_FREE, 1);
    EXPECT_EQ(take_error(), 5);
    sub_timer(0, TRAP_ACTION_FREE, 0);  // plain TIMER FREE
    EXPECT_EQ(take_error(), 5);
    ontimer_setup(3, 1, 8, 0);
    EXPECT_EQ(take_error(), 5);
    ontimer_setup(4, 1, 8, 0);
    EXPECT_EQ(take_error(), 5);
    ontimer_setup(-1, 1, 8, 0);
    EXPECT_EQ(take_error(), 5);
    sub_timer(4, TRAP_ACTION_ON, 1);
    EXPECT_EQ(take_error(), 5);
    sub_timer(2, TRAP_ACTION_ON, 1);
    EXPECT_EQ(take_error(), 0);
}

TEST_F(TimerNumbers, FreeTimerGivesZeroWhileAnErrorIsPending) {
    error(53);
    EXPECT_EQ(func__freetimer(), 0);
    EXPECT_EQ(ontimer_nextfree.load(), 1);
}

class TimerGrowthAfterStop : public TrapTest {};

TEST_F(TimerGrowthAfterStop, ReturnsZeroAtOnceWithoutGrowing) {
    // No timer thread answers any more.
    stop_program = 1;
    EXPECT_EQ(func__freetimer(), 0);
    EXPECT_EQ(ontimer_nextfree.load(), 1);
    EXPECT_EQ(ontimerthread_lock.load(), 0);
    EXPECT_EQ(new_error.load(), 0);
}

class TimerPasses : public TrapTest {
protected:
    fake_clock clock;
    void SetUp() override {
        TrapTest::SetUp();
        fake_clock::now_ns = 5'000'000'000;  // GetTicks 5000
    }
    static void passes(int n) {
        for (int i = 0; i < n; ++i) ASSERT_NE(timer_thread_pass(), timer_step::stopped);
    }
    static uint8_t state() { return ontimer(0).state.load(); }
    // ON TIMER(seconds) GOSUB handler 8: TIMER ON.
    static void start(double seconds) {
        ontimer_setup(0, seconds, 8, 3);
        sub_timer(0, TRAP_ACTION_ON, 0);
    }
    static size_t runs() { return handler_recorder::calls.size(); }
};

TEST_F(TimerPasses, DueOnceTheIntervalHasPassed) {
    start(1);
    passes(1);  // now 5.000: the interval starts
    EXPECT_EQ(ontimer(0).last.load(), 5.0);
    passes(999);  // up to 5.999
    EXPECT_EQ(state(), TIMER_IDLE);
    passes(2);  // 6.000, 6.001
    EXPECT_EQ(state(), TIMER_DUE);
    EXPECT_EQ(zvevent.load(), 1);

    events();
    ASSERT_EQ(runs(), 1u);
    EXPECT_EQ(handler_recorder::calls[0], std::make_pair(8, int64_t(3)));
    EXPECT_EQ(state(), TIMER_IDLE);
    EXPECT_EQ(sleep_break.load(), 1);
    EXPECT_EQ(ontimer(0).last.load(), 6.0);  // on the interval's grid
}

TEST_F(TimerPasses, ABusyProgramGetsOneRunThenOneAtOnceThenTheInterval) {
    start(1);
    passes(1002);
    EXPECT_EQ(state(), TIMER_DUE);
    passes(10000);  // the program is busy for 10 s
    events();
    EXPECT_EQ(runs(), 1u);
    passes(1);
    EXPECT_EQ(state(), TIMER_DUE);
    events();
    EXPECT_EQ(runs(), 2u);
    passes(999);
    events();
    EXPECT_EQ(runs(), 2u);
    passes(2);
    events();
    EXPECT_EQ(runs(), 3u);
}

TEST_F(TimerPasses, AClockJumpDoesNotFireABurst) {
    start(1);
    passes(1);
    fake_clock::now_ns += 10'000'000'000;
    for (int i = 0; i < 20; ++i) {
        passes(1);
        events();
    }
    EXPECT_EQ(runs(), 1u);
    passes(1000);  // the interval goes on from the jump
    events();
    EXPECT_EQ(runs(), 2u);
}

TEST_F(TimerPasses, AStoppedTimerBecomesDueButRunsAfterOn) {
    start(1);
    sub_timer(0, TRAP_ACTION_STOP, 0);
    passes(1002);
    EXPECT_EQ(state(), TIMER_DUE);
    events();
    EXPECT_EQ(runs(), 0u);
    sub_timer(0, TRAP_ACTION_ON, 0);
    events();
    EXPECT_EQ(runs(), 1u);
}

TEST_F(TimerPasses, OffForgetsAndOnRestartsTheIntervalAtTheNextPass) {
    start(1);
    passes(1002);
    sub_timer(0, TRAP_ACTION_OFF, 0);
    EXPECT_EQ(state(), TIMER_IDLE);
    EXPECT_EQ(ontimer(0).last.load(), 0);
    passes(3000);
    EXPECT_EQ(ontimer(0).last.load(), 0);
    sub_timer(0, TRAP_ACTION_ON, 0);
    passes(1);
    EXPECT_DOUBLE_EQ(ontimer(0).last.load(), 9.002);
    passes(999);
    EXPECT_EQ(state(), TIMER_IDLE);
    passes(2);
    EXPECT_EQ(state(), TIMER_DUE);
    events();
    EXPECT_EQ(runs(), 1u);
}

TEST_F(TimerPasses, NewSetupClearsADueState) {
    start(1);
    passes(1002);
    ontimer_setup(0, 2, 8, 0);
    EXPECT_EQ(state(), TIMER_IDLE);
    EXPECT_EQ(ontimer(0).last.load(), 0);
    events();
    EXPECT_EQ(runs(), 0u);
}

TEST_F(TimerPasses, ARunningHandlerIsNotRunAgain) {
    start(0.001);
    handler_recorder::during = [](int32_t) {
        EXPECT_EQ(state(), TIMER_RUNNING);
        passes(5);  // the thread does not mark a running timer due
        EXPECT_EQ(state(), TIMER_RUNNING);
        events();  // a boundary inside the handler
    };
    passes(3);
    events();
    EXPECT_EQ(runs(), 1u);
}

TEST_F(TimerPasses, TimersWithoutHandlerOrSwitchedOffAreLeftAlone) {
    sub_timer(0, TRAP_ACTION_ON, 0);  // no handler
    passes(3000);
    EXPECT_EQ(state(), TIMER_IDLE);
    EXPECT_EQ(ontimer(0).last.load(), 0);
    ontimer_setup(0, 1, 8, 0);
    sub_timer(0, TRAP_ACTION_OFF, 0);
    passes(3000);
    EXPECT_EQ(ontimer(0).last.load(), 0);
}

TEST_F(TimerPasses, AStopRequestIsAnsweredAndTheTableLeftAlone) {
    start(1);
    stop_timers();
    passes(1);
    EXPECT_EQ(ontimerthread_lock.load(), 2);
    passes(3000);
    EXPECT_EQ(ontimer(0).last.load(), 0);
    start_timers();
    passes(1);
    EXPECT_NE(ontimer(0).last.load(), 0);
}

// After a pass that finds no timer able to fire, the thread rests.
TEST_F(TimerPasses, APassSaysWhetherAnyTimerCanFire) {
    struct row {
        const char* what;
        std::function<void()> set_up;
        timer_step expected;
    };
    const row rows[] = {
        {"nothing set up", [] {}, timer_step::rest},
        {"a handler, off", [] { ontimer_setup(0, 1, 8, 0); }, timer_step::rest},
        {"on without a handler", [] { sub_timer(0, TRAP_ACTION_ON, 0); }, timer_step::rest},
        {"on with a handler", [] { start(1); }, timer_step::go_on},
        {"stopped with a handler",
         [] {
             start(1);
             sub_timer(0, TRAP_ACTION_STOP, 0);
         },
         timer_step::go_on},
        {"switched off again",
         [] {
             start(1);
             sub_timer(0, TRAP_ACTION_OFF, 0);
         },
         timer_step::rest},
        {"due, its handler not run yet",
         [] {
             start(0.001);
             passes(3);
         },
         timer_step::go_on},
        {"a numbered timer on",
         [] {
             int32_t t = timer_thread_stand_in().grow();
             ontimer_setup(t, 1, 9, 0);
             sub_timer(t, TRAP_ACTION_ON, 1);
         },
         timer_step::go_on},
        {"a numbered timer freed",
         [] {
             int32_t t = timer_thread_stand_in().grow();
             ontimer_setup(t, 1, 9, 0);
             sub_timer(t, TRAP_ACTION_ON, 1);
             sub_timer(t, TRAP_ACTION_FREE, 1);
         },
         timer_step::rest},
        {"on, but the table held by the program",
         [] {
             start(1);
             stop_timers();
         },
         timer_step::rest},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.what);
        ontimer_reset_for_tests();
        r.set_up();
        EXPECT_EQ(timer_thread_pass(), r.expected);
    }
}

TEST_F(TimerPasses, ThePassAfterStopProgramReportsTheThreadStopped) {
    stop_program = 1;
    EXPECT_EQ(timer_thread_pass(), timer_step::stopped);
    EXPECT_EQ(exit_ok.load(), 2);
}

}  // namespace
