// The timer thread on the real clock: handlers at the interval, growth of the
// table while the thread runs, and its answer to the shutdown. Then its rest while
// no timer can fire, on a clock that stands still.
#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <thread>

#include "clock/clock.h"
#include "lifecycle/main_loop.h"
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
        timer_thread_wake();
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
    timer_thread_wake();
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

// A clock that stands still unless the test sets it. The thread's 1 ms sleep ends
// every pass, so counting those sleeps counts passes; they are slept for real, so
// the thread keeps its own pace.
struct still_clock {
    static inline std::atomic<int64_t> now_ns{0};
    static inline std::atomic<int64_t> passes{0};
    static int64_t monotonic() { return now_ns.load(); }
    static bool local_now(libzv_local_time*) { return false; }
    static void sleep(int64_t ms) {
        if (ms > 0) passes++;
        std::this_thread::sleep_for(std::chrono::milliseconds(ms > 0 ? ms : 0));
    }
    static inline const clock_source source{monotonic, local_now, sleep};
};

class TimerRest : public TrapTest {
protected:
    std::thread thread;
    std::atomic<bool> ended{false};

    void SetUp() override {
        TrapTest::SetUp();
        still_clock::now_ns = 0;
        still_clock::passes = 0;
        timer_thread_rests = 0;  // earlier threads rested too
        clock_set_source(&still_clock::source);
        clock_init();
        still_clock::now_ns = 5'000'000'000;  // GetTicks 5000
        thread = std::thread([this] {
            TIMERTHREAD(nullptr);
            ended = true;
        });
    }
    void TearDown() override {
        stop_program = 1;
        timer_thread_wake();
        thread.join();
        clock_set_source(nullptr);
        TrapTest::TearDown();
    }
    // Waits up to 5 s (a loaded machine) for the condition.
    static bool eventually(const std::function<bool()>& condition) {
        auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!condition()) {
            if (std::chrono::steady_clock::now() > until) return false;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        return true;
    }
    // The thread has begun a rest since `before` rests.
    static bool rests_after(int64_t before) {
        return eventually([=] { return timer_thread_rests.load() > before; });
    }
    // At least n passes begin and end after this call.
    static bool passes_made(int64_t n) {
        int64_t from = still_clock::passes.load();
        return eventually([=] { return still_clock::passes.load() >= from + n + 1; });
    }
    // No pass in 50 ms of real time (a 1 ms pass would make about 50).
    static int64_t passes_in_a_while() {
        int64_t from = still_clock::passes.load();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        return still_clock::passes.load() - from;
    }
    static void start(int32_t i, double seconds) {
        ontimer_setup(i, seconds, 8, 0);
        sub_timer(i, TRAP_ACTION_ON, 1);
    }
};

TEST_F(TimerRest, NoPassesWhileNoTimerCanFire) {
    ASSERT_TRUE(rests_after(0));
    EXPECT_EQ(passes_in_a_while(), 0);

    // A handler alone wakes it, but only for a look at the table.
    int64_t rests = timer_thread_rests.load();
    ontimer_setup(0, 1, 8, 0);
    ASSERT_TRUE(rests_after(rests));
    EXPECT_EQ(passes_in_a_while(), 0);
    EXPECT_EQ(ontimer(0).last.load(), 0);

    // Switched on, it is watched at every pass: the interval starts at once.
    sub_timer(0, TRAP_ACTION_ON, 0);
    ASSERT_TRUE(eventually([] { return ontimer(0).last.load() != 0; }));
    EXPECT_EQ(ontimer(0).last.load(), 5.0);
    EXPECT_GT(passes_in_a_while(), 0);

    // Stopped, it still counts; off, the thread rests again.
    sub_timer(0, TRAP_ACTION_STOP, 0);
    EXPECT_GT(passes_in_a_while(), 0);
    rests = timer_thread_rests.load();
    sub_timer(0, TRAP_ACTION_OFF, 0);
    ASSERT_TRUE(rests_after(rests));
    EXPECT_EQ(passes_in_a_while(), 0);

    // A timer number of _FREETIMER, and its FREE.
    int32_t t = func__freetimer();
    ASSERT_EQ(t, 1);
    start(t, 1);
    EXPECT_TRUE(eventually([=] { return ontimer(t).last.load() != 0; }));
    rests = timer_thread_rests.load();
    sub_timer(t, TRAP_ACTION_FREE, 1);
    ASSERT_TRUE(rests_after(rests));
    EXPECT_EQ(passes_in_a_while(), 0);
}

TEST_F(TimerRest, ATimerSwitchedOnAfterALongRestFiresOnTheSameTick) {
    ASSERT_TRUE(rests_after(0));
    still_clock::now_ns += 1000'000'000'000;  // 1000 s of rest
    start(0, 1);
    // As after a 1 ms pass: the interval starts at the time it was switched on,
    // and the timer is due at the first pass more than a second later.
    ASSERT_TRUE(eventually([] { return ontimer(0).last.load() != 0; }));
    EXPECT_EQ(ontimer(0).last.load(), 1005.0);
    still_clock::now_ns = 1006'000'000'000;
    ASSERT_TRUE(passes_made(1));
    EXPECT_EQ(ontimer(0).state.load(), TIMER_IDLE);
    still_clock::now_ns = 1006'001'000'000;
    ASSERT_TRUE(passes_made(1));
    EXPECT_EQ(ontimer(0).state.load(), TIMER_DUE);
    events();
    ASSERT_EQ(handler_recorder::calls.size(), 1u);
    EXPECT_EQ(ontimer(0).last.load(), 1006.0);
}

TEST_F(TimerRest, FreeTimerGrowthWhileItRestsReturnsAtOnce) {
    ASSERT_TRUE(rests_after(0));
    int64_t rests = timer_thread_rests.load();
    auto grown = std::async(std::launch::async, func__freetimer);
    if (grown.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        stop_program = 1;  // releases the waiting growth
        ADD_FAILURE() << "_FREETIMER waited for a resting thread";
    }
    EXPECT_EQ(grown.get(), 1);
    EXPECT_EQ(ontimer_nextfree.load(), 2);
    EXPECT_EQ(ontimerthread_lock.load(), 0);
    // The answer is the only pass: the thread rests again.
    EXPECT_TRUE(rests_after(rests));
    EXPECT_EQ(passes_in_a_while(), 0);
}

TEST_F(TimerRest, TheShutdownEndsARestingThread) {
    ASSERT_TRUE(rests_after(0));
    static const main_loop_hooks quiet{[] {}, [] {}, [] {}, [] {}, [] {}};
    main_loop_set_hooks(&quiet);
    exit_ok.fetch_or(1);  // the program thread has parked
    auto stopped = std::async(std::launch::async, main_loop_stop_threads);
    if (stopped.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        timer_thread_wake();  // lets the shutdown end
        ADD_FAILURE() << "the shutdown waited for a resting timer thread";
    }
    stopped.get();
    main_loop_set_hooks(nullptr);
    EXPECT_EQ(exit_ok.load(), 3);
    EXPECT_TRUE(eventually([this] { return ended.load(); }));
}

}  // namespace
