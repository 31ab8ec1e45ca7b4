// HEX$, OCT$ and _BIN$: hexadecimal, octal and binary digits of integers and of rounded floating values.
#include "number/radix_text.h"

#include <cmath>

namespace {

// The low `count` digits of `bits` (each `shift` bits wide), most significant first.
num_text digits_text(uint64_t bits, int32_t count, int32_t shift) {
    static constexpr char digit_chars[] = "0123456789ABCDEF";
    num_text t;
    uint64_t mask = (uint64_t{1} << shift) - 1;
    for (int32_t i = 0; i < count; i++) t.bytes[count - 1 - i] = digit_chars[(bits >> (i * shift)) & mask];
    t.length = count;
    return t;
}

// Position (from 1) of the highest 1 bit, 0 for none.
int32_t highest_one(uint64_t bits) { return bits == 0 ? 0 : 64 - __builtin_clzll(bits); }

num_text zero_text() {
    num_text t;
    t.bytes[0] = '0';
    t.length = 1;
    return t;
}

// OCT$ and _BIN$ share the choice of how many low bits a value shows.
int32_t shown_bits(int64_t value, int32_t bits) {
    uint64_t u = static_cast<uint64_t>(value);
    if (value >= 0) return highest_one(u);
    // z: the position of the highest 0 bit.
    int32_t z = highest_one(~u);
    if (bits > 64) bits = 64;
    if (z < bits) return bits;
    if (z < 16) return 16;
    if (z < 32) return 32;
    return 64;
}

}  // namespace

num_text num_hex(int64_t value, int32_t digits) {
    if (value == 0) return zero_text();
    uint64_t u = static_cast<uint64_t>(value);
    if (value > 0) return digits_text(u, (highest_one(u) + 3) / 4, 4);
    // m: the fewest digits that keep the sign visible in two's complement.
    int32_t m = 1;
    for (int32_t position = 16; position >= 1; position--) {
        uint32_t digit = (u >> ((position - 1) * 4)) & 15;
        if (digit != 15) {
            m = digit < 8 ? position + 1 : position;
            break;
        }
    }
    if (m > 16) m = 16;
    if (digits > 16) digits = 16;
    int32_t count = m <= digits ? digits : (m <= 4 ? 4 : m <= 8 ? 8 : 16);
    return digits_text(u, count, 4);
}

num_text num_oct(int64_t value, int32_t bits) {
    if (value == 0) return zero_text();
    int32_t shown = shown_bits(value, bits);
    uint64_t u = static_cast<uint64_t>(value);
    if (shown < 64) u &= (uint64_t{1} << shown) - 1;
    // The leading octal digit holds the one or two bits left over.
    return digits_text(u, (shown + 2) / 3, 3);
}

num_text num_bin(int64_t value, int32_t bits) {
    if (value == 0) return zero_text();
    return digits_text(static_cast<uint64_t>(value), shown_bits(value, bits), 1);
}

bool num_radix_integer(long double value, int64_t* integer) {
    // The negated test also refuses not-a-number.
    if (!(std::fabs(value) < 0x1p63L)) return false;
    // Just below 2^63 a tie can round up to 2^63, which no int64 holds.
    long double rounded = nearbyintl(value);
    if (rounded >= 0x1p63L) return false;
    *integer = llrintl(rounded);
    return true;
}
