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

// Character classes and the digit store shared by READ and INPUT #. Characters are
// bytes, or a negative end mark from a file source.
inline bool number_is_digit(int32_t c) { return c >= '0' && c <= '9'; }

inline bool number_is_exponent_letter(int32_t c) {
    int32_t lower = c | 0x20;
    return c >= 0 && (lower == 'd' || lower == 'e' || lower == 'f');
}

// 1 &H, 2 &O, 3 &B, 0 for anything else.
inline uint8_t number_base_of(int32_t c) {
    if (c < 0) return 0;
    switch (c | 0x20) {
        case 'h': return 1;
        case 'o': return 2;
        case 'b': return 3;
        default: return 0;
    }
}

inline bool number_is_base_digit(int32_t c, uint8_t base) {
    if (base == 1) return number_is_digit(c) || ((c | 0x20) >= 'a' && (c | 0x20) <= 'f');
    if (base == 2) return c >= '0' && c <= '7';
    return c == '0' || c == '1';
}

// False when the digit array is full.
inline bool number_store_digit(decomposed_number& n, int32_t c) {
    if (n.n_digits == n_max_digits) return false;
    n.n_digit[n.n_digits++] = static_cast<char>(c);
    return true;
}

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
