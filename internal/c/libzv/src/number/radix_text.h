// HEX$, OCT$ and _BIN$ on plain buffers: two's-complement digits of integers.
#pragma once
#include <cstdint>

#include "number/number_text.h"

// The value arrives widened to 64 bits with its sign, with its type's size in
// hexadecimal digits (HEX$) or in bits (OCT$, _BIN$), which decides how many digits
// a negative value shows.
num_text num_hex(int64_t value, int32_t digits);
num_text num_oct(int64_t value, int32_t bits);
num_text num_bin(int64_t value, int32_t bits);

// The integer that the floating forms convert: the value rounded in the current mode.
// False (overflow) for a magnitude of 2^63 or more and for not-a-number.
bool num_radix_integer(long double value, int64_t* integer);
// Source sizes of the floating forms.
constexpr int32_t radix_float_hex_digits = 8;
constexpr int32_t radix_float_bits = 32;
