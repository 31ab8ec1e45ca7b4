// STR$ and _TOSTR$ on plain buffers: the exact bytes of every numeric type as text.
#pragma once
#include <cstdint>
#include <string_view>

#include "number/extended.h"

// A number's text, built without allocation; _BIN$ of 64 bits is the longest.
struct num_text {
    char bytes[72];
    int32_t length;
    std::string_view view() const { return {bytes, static_cast<size_t>(length)}; }
};

// STR$: a space before non-negative values of signed types and before every unsigned
// value, a minus sign before negative ones. Never fails; also used for the runtime's own texts.
num_text num_str(int64_t value);
num_text num_str(int32_t value);
num_text num_str(int16_t value);
num_text num_str(int8_t value);
num_text num_str(uint64_t value);
num_text num_str(uint32_t value);
num_text num_str(uint16_t value);
num_text num_str(uint8_t value);
num_text num_str(float value);
num_text num_str(double value);
// Rounded to a DOUBLE first, so the exponent letter is D.
num_text num_str(long double value);

// _TOSTR$ of integers: the decimal value without a leading space.
num_text num_tostr(int64_t value);
num_text num_tostr(int32_t value);
num_text num_tostr(int16_t value);
num_text num_tostr(int8_t value);
num_text num_tostr(uint64_t value);
num_text num_tostr(uint32_t value);
num_text num_tostr(uint16_t value);
num_text num_tostr(uint8_t value);
// _TOSTR$ of floating values with `precision` significant digits (1 up to the type's
// largest): the general form, exponent letter E, D and F for SINGLE, DOUBLE and extended.
num_text num_tostr(float value, int32_t precision);
num_text num_tostr(double value, int32_t precision);
num_text num_tostr(long double value, int32_t precision);

// The largest precision of each floating type, the default of _TOSTR$.
constexpr int32_t tostr_single_digits = 7;
constexpr int32_t tostr_double_digits = 16;
constexpr int32_t tostr_extended_digits = 19;
// The precision _TOSTR$ uses for a non-negative digits argument.
int32_t tostr_precision(int32_t digits, int32_t passed, int32_t largest);
