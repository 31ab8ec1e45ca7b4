// Element access for arrays of bit fields.
#pragma once
#include <cstdint>

#include "core/array.h"

// Elements of `bits` bits (1 to 63) packed without gaps from bit 0 of byte 0 of
// base; element i starts at bit i * bits. Only the bytes an element spans are touched.
uint64_t getubits(uint32_t bits, uint8_t* base, intptr_t i);
int64_t getbits(uint32_t bits, uint8_t* base, intptr_t i);
// Writes the low `bits` bits of value into element i; every other bit stays.
void setbits(uint32_t bits, uint8_t* base, intptr_t i, int64_t value);

// The same through an array's descriptor: element i (already checked against the
// bounds, and multiplied out for several dimensions) of the array's data.
template <int N>
uint64_t call_getubits(uint32_t bits, const array_descriptor<N>* a, intptr_t i) {
    return getubits(bits, static_cast<uint8_t*>(a->data), i);
}
template <int N>
int64_t call_getbits(uint32_t bits, const array_descriptor<N>* a, intptr_t i) {
    return getbits(bits, static_cast<uint8_t*>(a->data), i);
}
template <int N>
void call_setbits(uint32_t bits, array_descriptor<N>* a, intptr_t i, int64_t value) {
    setbits(bits, static_cast<uint8_t*>(a->data), i, value);
}
