// The held-key set: fixed slots of atomic codes that never move while held.
#include "input/key_held.h"

#include <atomic>

#include "input/key_code.h"

namespace {

// 0 marks a free slot; code 0 is held as 200013.
constinit std::atomic<int32_t> held[keyheld_size]{};
int32_t binding_of[keyheld_size]{};  // writer side only
// Slots at or above it were never used: readers stop there.
constinit std::atomic<int32_t> used{0};
int32_t bindkey = 0;

// The keypad twin of a code, 0 when it has none.
int32_t twin_of(int32_t code) {
    switch (code) {
    case 13: return 100271;
    case '*': return 100268;
    case '+': return 100270;
    case '-': return 100269;
    case '.': return 100266;
    case '/': return 100267;
    case key::home: return 200007;
    case key::up: return 200008;
    case key::page_up: return 200009;
    case key::left: return 200004;
    case key::centre: return 200005;
    case key::right: return 200006;
    case key::end: return 200001;
    case key::down: return 200002;
    case key::page_down: return 200003;
    case key::insert: return 200000;
    case key::del: return 200010;
    default: break;
    }
    if (code >= '0' && code <= '9') return 100256 + (code - '0');
    return 0;
}

int32_t slot_of(int32_t code) {
    int32_t n = used.load(std::memory_order_acquire);
    for (int32_t i = 0; i < n; ++i)
        if (held[i].load(std::memory_order_relaxed) == code) return i;
    return -1;
}

}  // namespace

bool keyheld_exact(int32_t code) { return code != 0 && slot_of(code) >= 0; }

bool keyheld(int32_t code) {
    if (keyheld_exact(code)) return true;
    int32_t twin = twin_of(code);
    return twin && keyheld_exact(twin);
}

std::vector<int32_t> keyheld_codes() {
    std::vector<int32_t> codes;
    int32_t n = used.load(std::memory_order_acquire);
    for (int32_t i = 0; i < n; ++i)
        if (int32_t c = held[i].load(std::memory_order_relaxed)) codes.push_back(c);
    return codes;
}

void keyheld_set_bindkey(int32_t binding) { bindkey = binding; }

void keyheld_add(int32_t code) {
    int32_t binding = bindkey;
    bindkey = 0;
    if (code == 0 || slot_of(code) >= 0) return;
    int32_t n = used.load(std::memory_order_relaxed);
    int32_t slot = 0;
    while (slot < n && held[slot].load(std::memory_order_relaxed)) ++slot;
    if (slot == keyheld_size) return;
    binding_of[slot] = binding;
    held[slot].store(code, std::memory_order_relaxed);
    if (slot == n) used.store(n + 1, std::memory_order_release);
}

void keyheld_remove(int32_t code) {
    int32_t slot = slot_of(code);
    if (slot < 0) return;
    held[slot].store(0, std::memory_order_relaxed);
    binding_of[slot] = 0;
}

int32_t keyheld_bound_code(int32_t binding) {
    if (binding == 0) return 0;
    int32_t n = used.load(std::memory_order_relaxed);
    for (int32_t i = 0; i < n; ++i)
        if (binding_of[i] == binding && held[i].load(std::memory_order_relaxed)) return held[i].load();
    return 0;
}

void keyheld_reset_for_tests() {
    for (auto& h : held) h.store(0);
    for (auto& b : binding_of) b = 0;
    used.store(0);
    bindkey = 0;
}
