// getubits, getbits and setbits: bit-field array elements.
#include "support/bits.h"

namespace {
using u128 = unsigned __int128;

// The element's bit offset inside its first byte and the number of bytes it spans
// (at most 9 for 63 bits), so the last element of an exactly sized array is read
// and written without touching the bytes after it.
struct window {
    uint8_t* first;
    uint32_t shift;
    uint32_t bytes;
};

window element_window(uint32_t bits, uint8_t* base, intptr_t i) {
    int64_t p = int64_t(bits) * int64_t(i);
    window w;
    w.first = base + (p >> 3);
    w.shift = uint32_t(p & 7);
    w.bytes = (w.shift + bits + 7) / 8;
    return w;
}

u128 load(const window& w) {
    u128 v = 0;
    for (uint32_t k = 0; k < w.bytes; ++k) v |= u128(w.first[k]) << (8 * k);
    return v;
}

uint64_t mask_of(uint32_t bits) { return bits >= 64 ? ~uint64_t(0) : (uint64_t(1) << bits) - 1; }
}  // namespace

uint64_t getubits(uint32_t bits, uint8_t* base, intptr_t i) {
    if (bits == 0) return 0;
    if (bits > 64) bits = 64;
    window w = element_window(bits, base, i);
    return uint64_t(load(w) >> w.shift) & mask_of(bits);
}

int64_t getbits(uint32_t bits, uint8_t* base, intptr_t i) {
    if (bits == 0) return 0;
    if (bits > 64) bits = 64;
    uint64_t v = getubits(bits, base, i);
    if (bits < 64 && (v >> (bits - 1)) & 1) v |= ~mask_of(bits);
    return int64_t(v);
}

void setbits(uint32_t bits, uint8_t* base, intptr_t i, int64_t value) {
    if (bits == 0) return;
    if (bits > 64) bits = 64;
    window w = element_window(bits, base, i);
    u128 mask = u128(mask_of(bits)) << w.shift;
    u128 v = (load(w) & ~mask) | ((u128(uint64_t(value)) << w.shift) & mask);
    for (uint32_t k = 0; k < w.bytes; ++k) w.first[k] = uint8_t(v >> (8 * k));
}
