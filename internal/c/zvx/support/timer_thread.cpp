// TIMERTHREAD: the ON TIMER clock. Marks timers due once their interval has passed
// and answers the shutdown by stopping. While no timer can fire it rests, blocked
// until one is switched on, the program asks for the table or the program stops.
#include <cmath>

#include "clock/clock.h"
#include "core/runtime_flags.h"
#include "program.h"
#include "traps.h"

namespace {

// A stop request is answered with 2; the table is left alone until it is 0 again.
bool table_released() {
    int32_t lock = ontimerthread_lock.load(std::memory_order_acquire);
    if (lock == 1) {
        ontimerthread_lock.compare_exchange_strong(lock, 2, std::memory_order_acq_rel);
        return false;
    }
    return lock == 0;
}

// A timer that can fire: allocated, with a handler, on or stopped.
bool watched(const ontimer_struct& t) {
    return t.allocated.load() && t.id.load() && t.active.load() != TRAP_OFF;
}

bool any_watched() {
    int32_t n = ontimer_nextfree.load(std::memory_order_acquire);
    for (int32_t i = 0; i < n; ++i)
        if (watched(ontimer(i))) return true;
    return false;
}

// A watched timer.
void check_timer(ontimer_struct& t, double now) {
    if (t.state.load() != TIMER_IDLE) return;
    double last = t.last.load();
    if (last == 0) {
        // The interval starts now. TIMER OFF may have reset last meanwhile: keep its 0.
        t.last.compare_exchange_strong(last, now);
        return;
    }
    double seconds = t.seconds.load();
    if (!(now - last > seconds)) return;
    double next = last + seconds;
    // A timer that fell behind does not fire in a burst.
    if (std::fabs(now - next) >= seconds) next = now;
    if (!t.last.compare_exchange_strong(last, next)) return;
    t.state.store(TIMER_DUE, std::memory_order_release);
    zvevent_raise();
}

}  // namespace

std::atomic<int64_t> timer_thread_rests{0};

timer_step timer_thread_pass() {
    bool watching = false;
restart:
    if (table_released()) {
        watching = false;
        double now = double(GetTicks()) * 0.001;
        int32_t n = ontimer_nextfree.load(std::memory_order_acquire);
        for (int32_t i = 0; i < n; ++i) {
            ontimer_struct& t = ontimer(i);
            if (watched(t)) {
                watching = true;
                check_timer(t, now);
            }
            if (ontimerthread_lock.load(std::memory_order_acquire) == 1) goto restart;
        }
    }
    libzv_sleep_ms(1);
    if (stop_program.load()) {
        exit_ok.fetch_or(2);
        return timer_step::stopped;
    }
    return watching ? timer_step::go_on : timer_step::rest;
}

void timer_thread_rest() {
    for (;;) {
        uint32_t seen = timer_wake.load();
        if (stop_program.load()) return;
        int32_t lock = ontimerthread_lock.load();
        // 1: a request to answer. 2: the program holds the table and wakes the
        // thread when it gives it back.
        if (lock == 1 || (lock == 0 && any_watched())) return;
        timer_thread_rests.fetch_add(1);
        timer_wake.wait(seen);
    }
}

void TIMERTHREAD(void*) {
    for (;;) {
        timer_step step = timer_thread_pass();
        if (step == timer_step::stopped) return;
        if (step == timer_step::rest) timer_thread_rest();
    }
}
