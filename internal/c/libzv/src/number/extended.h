// The extended type: the x87 80-bit format, which is long double on x86-64.
#pragma once
#include <limits>

static_assert(std::numeric_limits<long double>::digits == 64 && std::numeric_limits<long double>::max_exponent == 16384,
              "the extended type must be the x87 80-bit format");

// Bytes of an extended value that hold the number; the rest of a long double is padding.
constexpr int extended_value_bytes = 10;
