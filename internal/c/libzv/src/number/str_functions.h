// STR$ and _TOSTR$ as BASIC functions: each returns a new temporary string.
#pragma once
#include <cstdint>

#include "number/extended.h"
#include "string/zvs.h"

// While an error is pending each returns an empty temporary at once.
zvs* zvs_str(int64_t value);
zvs* zvs_str(int32_t value);
zvs* zvs_str(int16_t value);
zvs* zvs_str(int8_t value);
zvs* zvs_str(uint64_t value);
zvs* zvs_str(uint32_t value);
zvs* zvs_str(uint16_t value);
zvs* zvs_str(uint8_t value);
zvs* zvs_str(float value);
zvs* zvs_str(double value);
zvs* zvs_str(long double value);

// digits counts only when passed is non-zero: 0 counts as 1, more than the type's largest
// precision as the largest; a negative digits argument is error 5 (a read-only empty
// string). Integer types ignore both.
zvs* zvs__tostr(int64_t value, int32_t digits, int32_t passed);
zvs* zvs__tostr(int32_t value, int32_t digits, int32_t passed);
zvs* zvs__tostr(int16_t value, int32_t digits, int32_t passed);
zvs* zvs__tostr(int8_t value, int32_t digits, int32_t passed);
zvs* zvs__tostr(uint64_t value, int32_t digits, int32_t passed);
zvs* zvs__tostr(uint32_t value, int32_t digits, int32_t passed);
zvs* zvs__tostr(uint16_t value, int32_t digits, int32_t passed);
zvs* zvs__tostr(uint8_t value, int32_t digits, int32_t passed);
zvs* zvs__tostr(float value, int32_t digits, int32_t passed);
zvs* zvs__tostr(double value, int32_t digits, int32_t passed);
zvs* zvs__tostr(long double value, int32_t digits, int32_t passed);
