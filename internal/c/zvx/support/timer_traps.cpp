// ON TIMER([i,] seconds) GOSUB, TIMER[(i)] ON / OFF / STOP / FREE, _FREETIMER and
// the timer table they share with the timer thread.
#include <bit>
#include <cstdlib>
#include <new>

#include "clock/clock.h"
#include "core/runtime_flags.h"
#include "error/error.h"
#include "traps.h"

namespace {

// Chunk k holds 8 << k records starting at slot 8 * (2^k - 1); chunks never move,
// so the timer thread may keep reading while the table grows.
constexpr int32_t chunk_count = 29;  // covers every non-negative int32
constinit ontimer_struct first_chunk[8];
constinit std::atomic<ontimer_struct*> chunks[chunk_count]{};

// Free list of timer numbers, used as a stack (program thread only).
int32_t* ontimer_freelist = nullptr;
int32_t ontimer_freelist_size = 0;
int32_t ontimer_freelist_available = 0;

int32_t chunk_of(uint32_t i) { return std::bit_width(i / 8 + 1) - 1; }
uint32_t chunk_base(int32_t k) { return 8u * ((1u << k) - 1u); }

void clear_slot(ontimer_struct& t) {
    t.allocated.store(0);
    t.id.store(0);
    t.pass.store(0);
    t.active.store(TRAP_OFF);
    t.state.store(TIMER_IDLE);
    t.seconds.store(0);
    t.last.store(0);
}

// An allocated number below ontimer_nextfree; error 5 otherwise.
bool valid_timer(int32_t i) {
    if (i < 0 || i >= ontimer_nextfree.load(std::memory_order_acquire) || !ontimer(i).allocated.load()) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return false;
    }
    return true;
}

void clear_due(ontimer_struct& t) {
    uint8_t due = TIMER_DUE;
    t.state.compare_exchange_strong(due, TIMER_IDLE);
}

// The slot for number n, its chunk allocated on first use; error 257 (fatal) when
// memory runs out.
ontimer_struct& new_slot(int32_t n) {
    int32_t k = chunk_of(uint32_t(n));
    if (!chunks[k].load(std::memory_order_acquire)) {
        auto* chunk = new (std::nothrow) ontimer_struct[size_t(8) << k];
        if (!chunk) error(ERR_OUT_OF_MEMORY_FATAL);
        chunks[k].store(chunk, std::memory_order_release);
    }
    return ontimer(n);
}

// The timer thread has answered the stop request; false once the program is
// stopping (that thread may be gone).
bool timer_thread_stopped() {
    ontimerthread_lock.store(1);
    timer_thread_wake();
    while (ontimerthread_lock.load() != 2) {
        if (stop_program.load()) {
            ontimerthread_lock.store(0);
            return false;
        }
        libzv_sleep_ms(0);
    }
    return true;
}

}  // namespace

std::atomic<int32_t> ontimer_nextfree{0};
std::atomic<int32_t> ontimerthread_lock{0};
std::atomic<int32_t> timer_event_occurred{0};

ontimer_struct& ontimer(int32_t i) {
    int32_t k = chunk_of(uint32_t(i));
    return chunks[k].load(std::memory_order_acquire)[uint32_t(i) - chunk_base(k)];
}

void ontimer_freelist_global_init() {
    ontimer_freelist_size = 8;
    ontimer_freelist_available = 0;
    ontimer_freelist = static_cast<int32_t*>(malloc(sizeof(int32_t) * 8));
    if (!ontimer_freelist) error(ERR_OUT_OF_MEMORY_FATAL);
}

void ontimer_global_init() {
    for (auto& t : first_chunk) clear_slot(t);
    chunks[0].store(first_chunk, std::memory_order_release);
    ontimer_nextfree.store(1, std::memory_order_release);
    ontimerthread_lock.store(0);
}

void ontimer_default_slot() {
    ontimer_struct& t = ontimer(0);
    t.id.store(0);
    t.state.store(TIMER_IDLE);
    t.active.store(TRAP_OFF);
    t.allocated.store(1);
}

void ontimer_setup(int32_t i, double seconds, int32_t id, int64_t pass) {
    if (new_error_is_set()) return;
    if (!valid_timer(i)) return;
    ontimer_struct& t = ontimer(i);
    clear_due(t);
    t.seconds.store(seconds);
    t.pass.store(pass);
    t.last.store(0);
    t.id.store(id);
    timer_thread_wake();  // a timer already on now has a handler
}

void sub_timer(int32_t i, int32_t action, int32_t passed) {
    if (new_error_is_set()) return;
    if (!(passed & 1)) i = 0;
    if (!valid_timer(i)) return;
    ontimer_struct& t = ontimer(i);
    switch (action) {
        case TRAP_ACTION_ON:
            t.active.store(TRAP_ON);
            zvevent_raise();
            timer_thread_wake();
            break;
        case TRAP_ACTION_OFF:
            t.active.store(TRAP_OFF);
            clear_due(t);
            t.last.store(0);  // the interval restarts from the next ON
            break;
        case TRAP_ACTION_STOP:
            t.active.store(TRAP_STOPPED);  // still counted: it fires once on again
            timer_thread_wake();
            break;
        case TRAP_ACTION_FREE:
            if (i == 0) {
                error(ERR_ILLEGAL_FUNCTION_CALL);
                return;
            }
            t.active.store(TRAP_OFF);
            clear_due(t);
            freetimer(i);
            break;
        default:
            break;
    }
}

int32_t func__freetimer() {
    if (new_error_is_set()) return 0;
    if (ontimer_freelist_available > 0) {
        int32_t i = ontimer_freelist[--ontimer_freelist_available];
        ontimer_struct& t = ontimer(i);
        t.active.store(TRAP_OFF);
        t.id.store(0);
        t.allocated.store(1);
        return i;
    }
    int32_t n = ontimer_nextfree.load();
    if (n == INT32_MAX) {
        error(ERR_OUT_OF_MEMORY_FATAL);
        return 0;
    }
    if (!timer_thread_stopped()) return 0;
    // The slot is written whole before the thread can see it.
    ontimer_struct& t = new_slot(n);
    clear_slot(t);
    t.allocated.store(1);
    ontimer_nextfree.store(n + 1, std::memory_order_release);
    ontimerthread_lock.store(0);
    timer_thread_wake();
    return n;
}

void freetimer(int32_t i) {
    ontimer_struct& t = ontimer(i);
    t.allocated.store(0);
    t.id.store(0);
    if (ontimer_freelist_available == ontimer_freelist_size) {
        int32_t size = ontimer_freelist_size ? ontimer_freelist_size * 2 : 8;
        auto* grown = static_cast<int32_t*>(realloc(ontimer_freelist, sizeof(int32_t) * size_t(size)));
        if (!grown) error(ERR_OUT_OF_MEMORY_FATAL);
        ontimer_freelist = grown;
        ontimer_freelist_size = size;
    }
    ontimer_freelist[ontimer_freelist_available++] = i;
}

void stop_timers() {
    ontimerthread_lock.store(1);
    timer_thread_wake();
}
void start_timers() {
    ontimerthread_lock.store(0);
    timer_thread_wake();
}

void ontimer_reset_for_tests() {
    timer_event_occurred.store(0);
    for (int32_t k = 1; k < chunk_count; ++k) delete[] chunks[k].exchange(nullptr);
    free(ontimer_freelist);
    ontimer_freelist = nullptr;
    ontimer_freelist_global_init();
    ontimer_global_init();
    ontimer_default_slot();
}
