// VAL on plain buffers: the number at the start of a text, in three result types.
#pragma once
#include <cstdint>

#include "number/extended.h"

// Each raises error 6 (and gives 0) for a based number with too many digits; any other
// malformed text simply ends the number where it stops fitting.
long double val_float(const uint8_t* text, int32_t length);
int64_t val_int64(const uint8_t* text, int32_t length);
// A minus sign is ignored: the result is the magnitude.
uint64_t val_uint64(const uint8_t* text, int32_t length);

struct zvs;
// VAL of a BASIC string in its three forms (translated code picks one by the target);
// the string is only read. While an error is pending each gives 0.
long double zvs_val(zvs* s);
int64_t zvs_val_int64(zvs* s);
uint64_t zvs_val_uint64(zvs* s);
