// The lock_display handshake: requester and producer sides.
#include "screen/lock_display.h"

#include <sched.h>

#include "core/runtime_flags.h"
#include "display/display.h"

std::atomic<int32_t> lock_display{0};
std::atomic<int32_t> lock_display_required{0};

bool lock_display_grant() {
    int32_t expected = 1;
    // Compare-exchange: a requester that withdraws (stop_program) races this step.
    if (!lock_display.compare_exchange_strong(expected, 2, std::memory_order_acq_rel, std::memory_order_acquire))
        return false;
    sched_yield();
    return true;
}

bool lock_display_busy() { return lock_display.load(std::memory_order_acquire) != 0; }

display_pause lock_display_pause() {
    if (!autodisplay.load(std::memory_order_relaxed) || !lock_display_required.load(std::memory_order_relaxed))
        return display_pause::not_needed;
    int32_t idle = 0;
    lock_display.compare_exchange_strong(idle, 1, std::memory_order_acq_rel, std::memory_order_acquire);
    while (lock_display.load(std::memory_order_acquire) != 2) {
        if (stop_program.load(std::memory_order_relaxed)) {
            lock_display.store(0, std::memory_order_release);
            return display_pause::stopping;
        }
        sched_yield();
    }
    return display_pause::held;
}

void lock_display_resume(display_pause pause) {
    if (pause == display_pause::held) lock_display.store(0, std::memory_order_release);
}

void lock_display_reset_for_tests() {
    lock_display.store(0);
    lock_display_required.store(0);
}
