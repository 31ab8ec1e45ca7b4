// Shutdown and pacing words shared by the program, housekeeping, timer and window threads.
#pragma once
#include <atomic>
#include <cstdint>

// Set by END, a declined error box, CHAIN/RUN after a launch, and Break/Alt+F4
// while _EXIT is not in use: the housekeeping loop then shuts down.
extern std::atomic<uint8_t> close_program;
// Close requests of the window: bit 0 close button or Alt+F4, bit 1 Break.
extern std::atomic<int32_t> exit_value;
// 1 after the first _EXIT call; END resets it.
extern std::atomic<int32_t> exit_blocked;
// Set when the shutdown starts: the program thread parks, waits give up.
extern std::atomic<uint8_t> stop_program;
// Shutdown handshake: bit 0 program thread parked, bit 1 timer thread stopped.
extern std::atomic<int32_t> exit_ok;
// The code handed to libzv_exit at the end of the shutdown.
extern std::atomic<int32_t> exit_code;
// Pause handshake of the housekeeping loop (1 requested, 2 granted).
extern std::atomic<int32_t> lock_mainloop;
// Statement-boundary flag: whoever sets it publishes its own state first and
// stores 1 with release; the boundary check clears it with an acquire exchange.
extern std::atomic<int32_t> zvevent;
// Rendering passes of the housekeeping loop.
extern std::atomic<int32_t> frame;
// 1 while the program's screen is hidden (set at start-up for programs built so).
extern std::atomic<int32_t> screen_hide;
// Emulated vertical retrace, read through the VGA status port.
extern std::atomic<int32_t> vertical_retrace_happened;
extern std::atomic<int32_t> vertical_retrace_in_progress;

inline void zvevent_raise() { zvevent.store(1, std::memory_order_release); }

// Raised whenever the timer thread may have work after a rest: a timer given a
// handler or switched on, a request for its table, the shutdown. The resting thread
// reads this word, then looks at the timers, then waits for the word to change. The
// change it looks for and both sides' accesses to this word are sequentially
// consistent, so a change it missed raised the word after its read: no wake is lost.
extern std::atomic<uint32_t> timer_wake;
inline void timer_thread_wake() {
    timer_wake.fetch_add(1);
    timer_wake.notify_all();
}

// Puts every word but screen_hide back to its start value (tests).
void runtime_flags_reset_for_tests();
