// Element access for arrays of bit fields.
#pragma once
#include <cstdint>

// Elements of `bits` bits (1 to 63) packed without gaps from bit 0 of byte 0 of
// base; element i starts at bit i * bits. Only the bytes an element spans are touched.
uint64_t getubits(uint32_t bits, uint8_t* base, intptr_t i);
int64_t getbits(uint32_t bits, uint8_t* base, intptr_t i);
// Writes the low `bits` bits of value into element i; every other bit stays.
void setbits(uint32_t bits, uint8_t* base, intptr_t i, int64_t value);
