// The decomposed number of READ and INPUT #: one numeric item's digits, filled by a
// tokenizer and turned into a value by a converter. Program-thread scratch.
#pragma once
#include <cstdint>

#include "number/extended.h"

constexpr int32_t n_max_digits = 256;

struct decomposed_number {
    uint16_t n_digits;            // significant digits held, 0 to 256
    char n_digit[n_max_digits];   // most significant first; based digits as their characters
    int64_t n_exp;                // decimal exponent of the first digit
    uint8_t n_neg;                // 1 for a minus sign
    uint8_t n_hex;                // 0 decimal, 1 &H, 2 &O, 3 &B
    long double n_float_value;
    int64_t n_int64_value;
    uint64_t n_uint64_value;
};

// The process-wide decomposed number (the tokenizers write it, the converters read it).
decomposed_number& n_number();
// Clears the item part before a tokenizer fills it.
void n_clear();

// Each converter returns 1 and stores its result when the number fits, else 0.
int32_t n_float();
int32_t n_int64();
int32_t n_uint64();
// 1 when the first digit after the units digit is 5 or more.
int32_t n_roundincrement();

// high x 2^32 + low.
int64_t build_int64(uint32_t high, uint32_t low);
uint64_t build_uint64(uint32_t high, uint32_t low);

// Tokenizer results.
constexpr int32_t n_result_number = 0;
constexpr int32_t n_result_overflow = 1;
constexpr int32_t n_result_nothing = 2;
constexpr int32_t n_result_syntax = 3;

void number_reset_for_tests();
