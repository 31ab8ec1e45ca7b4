// CLEAR's runtime part: translated code generates the body of sub_clear per program
// (it names every variable) and calls these for its arrays and for the rest.
#pragma once
#include <cstdint>

#include "core/array.h"

// The data of an allocated array given back: an array in the static arena is
// zero-filled (every dimension's count times the element size), any other is freed
// (one in conventional memory to its own heap) and its descriptor left unallocated,
// its lock freed so that _MEM blocks over it become invalid. Elements that own
// memory (variable-length strings) are the generated body's to release first.
void clear_array_data(void* data, uint32_t* flags, int64_t bytes, mem_lock** lock);

template <int N>
void clear_array(array_descriptor<N>* a, int64_t element_size) {
    if (!(a->flags & ARRAY_ALLOCATED)) return;
    int64_t elements = 1;
    for (const auto& d : a->dim) elements *= d.count;
    clear_array_data(a->data, &a->flags, elements * element_size, &a->lock);
    if (!(a->flags & ARRAY_ALLOCATED)) array_set_unallocated(a);
}

// The rest of CLEAR: RESTORE (the program's DATA position to 0), every file closed,
// every software image freed but the screen pages and the console image, the GOSUB
// stack emptied, no ON ERROR target, error_handler_history "", error_handling 0.
// Temporary strings go at the end of the statement, as after every statement.
void clear_reset_runtime(int32_t* data_offset);
