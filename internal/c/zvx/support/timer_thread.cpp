// TIMERTHREAD: the ON TIMER clock. Marks timers due once their interval has passed
// and answers the shutdown by stopping.
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

void check_timer(ontimer_struct& t, double now) {
    if (!t.allocated.load() || !t.id.load(std::memory_order_acquire) || t.active.load() == TRAP_OFF ||
        t.state.load() != TIMER_IDLE)
        return;
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

timer_step timer_thread_pass() {
restart:
    if (table_released()) {
        double now = double(GetTicks()) * 0.001;
        int32_t n = ontimer_nextfree.load(std::memory_order_acquire);
        for (int32_t i = 0; i < n; ++i) {
            check_timer(ontimer(i), now);
            if (ontimerthread_lock.load(std::memory_order_acquire) == 1) goto restart;
        }
    }
    libzv_sleep_ms(1);
    if (stop_program.load()) {
        exit_ok.fetch_or(2);
        return timer_step::stopped;
    }
    return timer_step::go_on;
}

void TIMERTHREAD(void*) {
    while (timer_thread_pass() == timer_step::go_on) {
    }
}
