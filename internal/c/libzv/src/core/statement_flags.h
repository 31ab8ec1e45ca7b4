// Words the statement boundary reads besides the shutdown flags: the boundary's
// own switch, the pause, and the program's _GL SUB.
#pragma once
#include <atomic>
#include <cstdint>

// While non-zero the boundary does nothing (program thread).
extern std::atomic<int32_t> disableEvents;
// Non-zero while the program is paused (Pause key).
extern std::atomic<uint8_t> suspend_program;
// Non-zero while the program's _GL SUB runs; no traps are served in there.
extern std::atomic<int32_t> sub_gl_called;
// Stops further calls of the _GL SUB.
extern std::atomic<int32_t> dont_call_sub_gl;

void statement_flags_reset_for_tests();
