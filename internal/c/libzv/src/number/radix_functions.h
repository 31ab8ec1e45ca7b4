// HEX$, OCT$ and _BIN$ as BASIC functions: each returns a new temporary string.
#pragma once
#include <cstdint>

#include "number/extended.h"
#include "string/zvs.h"

// The value widened to 64 bits with its sign, with its type's size in hexadecimal
// digits (HEX$) or bits (OCT$, _BIN$).
zvs* func_hex(int64_t value, int32_t digits);
zvs* func_oct(int64_t value, int32_t bits);
zvs* func__bin(int64_t value, int32_t bits);
// Floating values, rounded in the current mode; error 6 (an empty string) for a
// magnitude of 2^63 or more and for not-a-number.
zvs* func_hex_float(long double value);
zvs* func_oct_float(long double value);
zvs* func__bin_float(long double value);
