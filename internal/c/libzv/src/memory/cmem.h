// Emulated conventional memory: 1,114,099 bytes addressed as segment * 16 + offset.
// One fixed, zeroed array that never moves; screen pages alias parts of it.
#pragma once
#include <atomic>
#include <cstdint>

constexpr int64_t cmem_size = 1114099;
extern uint8_t cmem[cmem_size];

// Bytes that other threads write (BIOS keyboard buffer, flags, timer ticks).
inline std::atomic_ref<uint8_t> cmem_shared(int64_t linear) { return std::atomic_ref<uint8_t>(cmem[linear]); }
