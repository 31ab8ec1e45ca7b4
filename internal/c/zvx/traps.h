// Event traps of translated code: ON KEY, ON STRIG and ON TIMER with their ON, OFF,
// STOP and FREE actions, the numbered timers of _FREETIMER, the timer thread and the
// dispatch of pending traps at statement boundaries.
#pragma once
#include <atomic>
#include <cstdint>

#include "core/traps.h"

// The action of KEY(n), STRIG(n) and TIMER(n).
enum trap_action : int32_t {
    TRAP_ACTION_ON = 1,
    TRAP_ACTION_OFF = 2,
    TRAP_ACTION_STOP = 3,
    TRAP_ACTION_FREE = 4,  // timers only
};

// ON KEY(n) GOSUB: n 1 to 31, else error 5.
void onkey_setup(int32_t n, int32_t id, int64_t pass);
// KEY(n) ON / OFF / STOP: n 0 to 31, else error 5; 0 applies to every slot.
void sub_key(int32_t n, int32_t action);

// The slot that STRIG(n[, controller]) names.
struct strig_target {
    enum kind_t { slot, ignored, invalid } kind;  // invalid: error 5
    int32_t index;                                // the slot when kind is slot
};
strig_target strig_decode(int32_t n, int32_t controller, bool controller_given);
// ON STRIG(n[, controller]) GOSUB. passed bit 0: the controller was given.
void onstrig_setup(int32_t n, int32_t controller, int32_t passed, int32_t id, int64_t pass);
// STRIG(n[, controller]) ON / OFF / STOP. passed bit 0: n given, bit 1: the
// controller; without n every slot.
void sub_strig(int32_t n, int32_t controller, int32_t action, int32_t passed);

// Timer slot: the program thread sets it up, the timer thread marks it due.
enum timer_state : uint8_t {
    TIMER_IDLE = 0,
    TIMER_DUE = 1,
    TIMER_RUNNING = 2,  // its handler runs
};
struct ontimer_struct {
    std::atomic<uint8_t> allocated{0};  // slot 0 and numbers handed out by _FREETIMER
    std::atomic<int32_t> id{0};         // handler id; 0 = no handler
    std::atomic<int64_t> pass{0};
    std::atomic<uint8_t> active{0};     // trap_active
    std::atomic<uint8_t> state{0};      // timer_state
    std::atomic<double> seconds{0};     // interval
    std::atomic<double> last{0};        // last trigger in seconds of GetTicks; 0 = not started
};

// Event counter of the timer traps: the main module's prologue lowers it by one
// when it is not zero.
extern std::atomic<int32_t> timer_event_occurred;

// Records in use (slot 0 is the plain ON TIMER). Raised with release once a new
// slot is fully written; readers load it with acquire.
extern std::atomic<int32_t> ontimer_nextfree;
// 0 the timer thread runs, 1 stop requested, 2 stopped (answered by the thread).
extern std::atomic<int32_t> ontimerthread_lock;
// Timer slot i, below ontimer_nextfree. Records never move when the table grows.
ontimer_struct& ontimer(int32_t i);

// Start-up: the free list of timer numbers, the table with slot 0, then slot 0's
// defaults (allocated, no handler, idle, off).
void ontimer_freelist_global_init();
void ontimer_global_init();
void ontimer_default_slot();

// ON TIMER([i,] seconds) GOSUB: i an allocated number, else error 5.
void ontimer_setup(int32_t i, double seconds, int32_t id, int64_t pass);
// TIMER[(i)] ON / OFF / STOP / FREE. passed bit 0: i given (else slot 0).
void sub_timer(int32_t i, int32_t action, int32_t passed);
// _FREETIMER: a new timer number; 0 while an error is pending or once the program
// is stopping.
int32_t func__freetimer();
// Gives a number back to the free list.
void freetimer(int32_t i);
// Stops and restarts the timer thread's work on the table (no wait).
void stop_timers();
void start_timers();

// One pass of the timer thread: marks due the timers whose interval has passed,
// answers a request for the table, then sleeps 1 ms. rest when no timer could fire
// (none allocated with a handler and on or stopped, or the table is held); stopped
// once it has answered the shutdown.
enum class timer_step { go_on, rest, stopped };
timer_step timer_thread_pass();
// Blocks until a pass may find work: a timer that can fire, a request for the table
// or the shutdown (each raises timer_wake). Returns at once when there is some.
void timer_thread_rest();
// Rests begun so far (tests).
extern std::atomic<int64_t> timer_thread_rests;

// Runs the handlers of pending traps (program thread, from the boundary).
void events();

// Free list and timer table back to their start-up state (tests; no timer thread).
void ontimer_reset_for_tests();
