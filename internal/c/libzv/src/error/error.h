// Numbered BASIC errors: the pending-error latch read at every statement boundary.
#pragma once
#include <atomic>
#include <cstdint>

// The pending error number, 0 when none. The first error wins until handled.
extern std::atomic<int32_t> new_error;

// Raises error n: latches it (first one wins) and asks for a statement-boundary check.
void error(int32_t n);

// Clears the latch (tests; the boundary handler clears it itself).
void error_reset_for_tests();
