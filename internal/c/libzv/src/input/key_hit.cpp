// The _KEYHIT ring.
#include "input/key_hit.h"

#include <atomic>

namespace {

constexpr int32_t mask = keyhit_size - 1;

constinit std::atomic<int32_t> codes[keyhit_size]{};
constinit std::atomic<int32_t> keypad_flags[keyhit_size]{};
constinit std::atomic<int32_t> keyhit_nextfree{0};  // next write
constinit std::atomic<int32_t> keyhit_next{0};      // next read

}  // namespace

void keyhit_append(int32_t code, int32_t keypad) {
    int32_t free = keyhit_nextfree.load(std::memory_order_relaxed);
    int32_t after = (free + 1) & mask;
    // Full: drop the oldest entry, unless the reader takes it meanwhile.
    int32_t next = keyhit_next.load(std::memory_order_acquire);
    if (after == next) keyhit_next.compare_exchange_strong(next, (next + 1) & mask, std::memory_order_acq_rel);
    codes[free].store(code, std::memory_order_relaxed);
    keypad_flags[free].store(keypad, std::memory_order_relaxed);
    keyhit_nextfree.store(after, std::memory_order_release);
}

keyhit_entry keyhit_take() {
    for (;;) {
        int32_t next = keyhit_next.load(std::memory_order_acquire);
        if (next == keyhit_nextfree.load(std::memory_order_acquire)) return {0, 0};
        keyhit_entry e{codes[next].load(std::memory_order_relaxed), keypad_flags[next].load(std::memory_order_relaxed)};
        // The writer may have dropped this entry meanwhile; then read again.
        if (keyhit_next.compare_exchange_strong(next, (next + 1) & mask, std::memory_order_acq_rel)) return e;
    }
}

void keyhit_clear() {
    keyhit_nextfree.store(0, std::memory_order_release);
    keyhit_next.store(0, std::memory_order_release);
}

void keyhit_skip_all() { keyhit_next.store(keyhit_nextfree.load(std::memory_order_acquire), std::memory_order_release); }

void keyhit_reset_for_tests() {
    keyhit_clear();
    for (auto& c : codes) c.store(0);
    for (auto& k : keypad_flags) k.store(0);
}
