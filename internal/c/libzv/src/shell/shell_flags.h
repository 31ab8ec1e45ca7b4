// SHELL state read by the housekeeping loop.
#pragma once
#include <atomic>
#include <cstdint>

// 1 while a waiting SHELL runs; the housekeeping loop answers -1 and only keeps
// the screen shown until SHELL writes 0.
extern std::atomic<int32_t> shell_call_in_progress;
