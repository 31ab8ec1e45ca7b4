// MKI$, CVI and friends, and MKSMBF$, MKDMBF$, CVSMBF, CVDMBF: numbers as raw byte strings.
#pragma once
#include <cstdint>

#include "number/extended.h"
#include "string/zvs.h"

// Number to raw string: a new temporary of the type's size, little-endian. The offset
// is 8 bytes (addresses are 64-bit); the extended type 32 (10 value bytes, then zeros);
// a bit field of n bits (n + 7) / 8.
zvs* b2string(int8_t value);
zvs* ub2string(uint8_t value);
zvs* i2string(int16_t value);
zvs* ui2string(uint16_t value);
zvs* l2string(int32_t value);
zvs* ul2string(uint32_t value);
zvs* i642string(int64_t value);
zvs* ui642string(uint64_t value);
zvs* o2string(intptr_t value);
zvs* uo2string(uintptr_t value);
zvs* s2string(float value);
zvs* d2string(double value);
zvs* f2string(long double value);
zvs* bit2string(uint32_t n, int64_t value);
zvs* ubit2string(uint32_t n, uint64_t value);

// Raw string to number, from the first bytes; a string shorter than the type is error 5
// and gives 0. The arguments are only read.
int8_t string2b(zvs* s);
uint8_t string2ub(zvs* s);
int16_t string2i(zvs* s);
uint16_t string2ui(zvs* s);
int32_t string2l(zvs* s);
uint32_t string2ul(zvs* s);
int64_t string2i64(zvs* s);
uint64_t string2ui64(zvs* s);
intptr_t string2o(zvs* s);
uintptr_t string2uo(zvs* s);
float string2s(zvs* s);
double string2d(zvs* s);
long double string2f(zvs* s);
// Sign-extended from bit n - 1.
int64_t string2bit(zvs* s, uint32_t n);
uint64_t string2ubit(zvs* s, uint32_t n);

// Microsoft Binary Format; error 5 (an empty string or 0) for values the format cannot
// hold, short strings and DOUBLE mantissas that lose bits.
zvs* func_mksmbf(float value);
zvs* func_mkdmbf(double value);
float func_cvsmbf(zvs* s);
double func_cvdmbf(zvs* s);
