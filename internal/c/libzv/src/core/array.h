// Array headers of translated code, subscript checks, LBOUND and UBOUND.
#pragma once
#include <cstdint>

#include "memory/mem_lock.h"
#include "support/bits.h"

enum array_flags : uint32_t {
    ARRAY_ALLOCATED = 1,  // bit 0
    ARRAY_STATIC = 2,     // in the static arena: CLEAR zero-fills instead of freeing
    ARRAY_CMEM = 4,       // in conventional memory: freed with cmem_dynamic_free
};

// Lower bound of every dimension of an unallocated array.
constexpr int32_t array_unallocated_lbound = 0x7FFFFFFF;

struct array_dimension {
    int32_t lbound;
    int32_t count;       // elements
    int32_t multiplier;  // elements between consecutive subscripts
};

// One per array, N dimensions stored last dimension first.
template <int N>
struct array_descriptor {
    static_assert(N >= 1);
    void* data;
    uint32_t flags;
    array_dimension dim[N];
    mem_lock* lock;  // type 4
};

// 8 zero bytes that an unallocated array's data points at (nothingvalue of the
// emulated data block once that exists).
void* array_nothing_value();

template <int N>
void array_set_unallocated(array_descriptor<N>* a) {
    a->data = array_nothing_value();
    a->flags = 0;
    for (auto& d : a->dim) d = {array_unallocated_lbound, 0, 0};
    a->lock = nullptr;
}

// Rounds in the current mode to a 64-bit pattern: negative values give their two's
// complement; NaN, values below -2^63 and from 2^64 up give 0x8000000000000000.
uint64_t round_to_uint64(long double x);

// index when index < count (unsigned), else error 9 and 0.
uint32_t array_check(uint32_t index, uint32_t count);

// The element offset within one dimension for a subscript value: error 9 and 0
// unless x is a number whose rounded value lies in lbound .. lbound + count - 1,
// compared in 64 bits (2^32 + 1 never wraps onto element 1, NaN never onto 0).
uint32_t array_index(long double x, const array_dimension& d);

// LBOUND and UBOUND over the dimension groups (last dimension first).
int32_t array_lbound(uint32_t flags, const array_dimension* dims, int32_t dimension, int32_t dimensions);
int32_t array_ubound(uint32_t flags, const array_dimension* dims, int32_t dimension, int32_t dimensions);
// The same without side effects for the program: no boundary, no error left pending.
int32_t array_check_lbound(uint32_t flags, const array_dimension* dims, int32_t dimension, int32_t dimensions);
int32_t array_check_ubound(uint32_t flags, const array_dimension* dims, int32_t dimension, int32_t dimensions);

template <int N>
int32_t func_lbound(const array_descriptor<N>* a, int32_t dimension, int32_t dimensions) {
    return array_lbound(a->flags, a->dim, dimension, dimensions < N ? dimensions : N);
}
template <int N>
int32_t func_ubound(const array_descriptor<N>* a, int32_t dimension, int32_t dimensions) {
    return array_ubound(a->flags, a->dim, dimension, dimensions < N ? dimensions : N);
}
template <int N>
int32_t check_lbound(array_descriptor<N>* const* a, int32_t dimension, int32_t dimensions) {
    return array_check_lbound(*a ? (*a)->flags : 0, *a ? (*a)->dim : nullptr, dimension, dimensions < N ? dimensions : N);
}
template <int N>
int32_t check_ubound(array_descriptor<N>* const* a, int32_t dimension, int32_t dimensions) {
    return array_check_ubound(*a ? (*a)->flags : 0, *a ? (*a)->dim : nullptr, dimension, dimensions < N ? dimensions : N);
}

// Arrays of bit fields (support/bits.h) through their descriptor: element i (already
// checked against the bounds, and multiplied out for several dimensions) of the data.
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
