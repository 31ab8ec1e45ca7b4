// MK...$ and CV... helpers: extended values and bit fields as raw bytes.
#include "number/raw_bytes.h"

#include <cstring>

void raw_put_extended(long double value, uint8_t* out) {
    std::memcpy(out, &value, extended_value_bytes);
    std::memset(out + extended_value_bytes, 0, raw_extended_size - extended_value_bytes);
}

long double raw_get_extended(const uint8_t* bytes) {
    // A zeroed long double, so that its 6 padding bytes are defined.
    uint8_t image[sizeof(long double)] = {};
    std::memcpy(image, bytes, extended_value_bytes);
    return std::bit_cast<long double>(image);
}

int32_t raw_bit_size(uint32_t n) { return n >= 64 ? 8 : static_cast<int32_t>((n + 7) / 8); }

uint64_t raw_bit_mask(uint32_t n) { return n >= 64 ? ~uint64_t{0} : (uint64_t{1} << n) - 1; }

int64_t raw_bit_sign_extend(uint64_t bits, uint32_t n) {
    bits &= raw_bit_mask(n);
    if (n == 0 || n >= 64) return static_cast<int64_t>(bits);
    if (bits >> (n - 1) & 1) bits |= ~raw_bit_mask(n);
    return static_cast<int64_t>(bits);
}
