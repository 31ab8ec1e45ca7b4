// The trap step of the statement boundary: runs the handlers of pending ON STRIG,
// ON KEY and ON TIMER traps on the program thread, and lowers the event counters in
// the main module's prologue.
#include "core/program.h"
#include "error/error.h"
#include "shape.h"
#include "traps.h"

namespace {

void run_handler(int32_t id, int64_t pass) { libzv_program().dispatch_handler(id, pass); }

// A counted trap ready to run: a handler, on, and an event pending.
template <class Slot>
bool ready(Slot& s) {
    return s.id.load(std::memory_order_acquire) && s.active.load() == TRAP_ON && s.count.load();
}

// Runs one pending handler of the slots; false when none was pending. The guard
// keeps a handler from being re-entered from its own boundaries.
template <class Slot>
bool run_one(Slot& (*slot)(int32_t), int32_t first, int32_t end, std::atomic<int32_t>& inprogress) {
    if (inprogress.load()) return false;
    for (int32_t i = first; i < end; ++i) {
        Slot& s = slot(i);
        if (!ready(s)) continue;
        inprogress.store(1);
        trap_count_take(s.count);
        run_handler(s.id.load(), s.pass.load());
        inprogress.store(0);
        return true;
    }
    return false;
}

}  // namespace

void events() {
    if (error_handling.load()) return;

    int32_t controllers = traps_device_hooks().controller_count();
    if (controllers > 256) controllers = 256;
    while (run_one(onstrig, 0, controllers * 256, onstrig_inprogress)) {
    }

    while (run_one(onkey, 1, onkey_slots, onkey_inprogress)) {
    }

    for (int32_t i = 0; i < ontimer_nextfree.load(std::memory_order_acquire); ++i) {
        ontimer_struct& t = ontimer(i);
        if (!t.allocated.load() || !t.id.load() || t.active.load() != TRAP_ON) continue;
        uint8_t due = TIMER_DUE;
        if (!t.state.compare_exchange_strong(due, TIMER_RUNNING, std::memory_order_acquire)) continue;
        run_handler(t.id.load(), t.pass.load());
        t.state.store(TIMER_IDLE);
        sleep_break.store(1);
    }
}

void zv_trap_step() { events(); }

void zv_event_counters_step() {
    trap_event_counter_lower(timer_event_occurred);
    trap_event_counter_lower(key_event_occurred);
    trap_event_counter_lower(strig_event_occurred);
}
