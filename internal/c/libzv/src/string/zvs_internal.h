// String-system state and helpers shared by the files of the string module only.
#pragma once
#include <cstdint>

#include "string/zvs.h"
#include "string/zvs_seams.h"

// A released slot of the heap-string list or of the temporary list.
inline constexpr zvs* zvs_slot_released = nullptr;

constexpr int32_t zvs_descriptors_per_block = 65536;
// Every new heap text is followed by this many bytes that belong to no string.
constexpr int64_t zvs_spare = 32;

struct zvs_state {
    // Descriptor blocks: never freed while the process runs, so descriptors never move.
    zvs* descriptor_block;  // the current block
    int32_t descriptor_next;  // next never-used descriptor of the current block (0..65,536)
    zvs** blocks;             // every block, for the test reset
    int32_t block_count;
    int32_t block_capacity;

    // Released descriptors, reused last in, first out.
    zvs** free_descriptors;
    int64_t free_count;
    int64_t free_capacity;

    // The string heap: texts in list order, gaps between them until the next compaction.
    uint8_t* heap;
    int64_t heap_next;  // offset of the next new text
    int64_t heap_size;

    // Heap strings in address order; zvs_slot_released for freed ones.
    zvs** heap_list;
    int32_t heap_list_nexti;
    int32_t heap_list_lasti;

    // Registered temporaries; slot 0 is never handed out.
    zvs** tmp_list;
    uint32_t tmp_list_nexti;
    uint32_t tmp_list_lasti;
};

// The one state of the string system (zvs_state.cpp); inline access keeps the hot paths short.
extern zvs_state zvs_the_state;
inline zvs_state& zvs_st() { return zvs_the_state; }

// Descriptors (descriptors.cpp); zvs_take_descriptor is in zvs_seams.h.
void zvs_recycle_descriptor(zvs* s);

// Heap (heap.cpp).
void zvs_heap_list_append(zvs* s);
void zvs_heap_compact(int64_t need);
// Raises fatal error 512 when a string would pass the 32-bit length limit; true when it fits.
bool zvs_length_fits(int64_t length);

// Temporaries (temporaries.cpp); registration is in zvs_seams.h.
// Takes s out of the temporary list the way a hand-over does (one top slot trimmed).
void zvs_tmp_unlist_handover(zvs* s);
// Takes s out of the temporary list the way zvs_free does (trailing released slots trimmed).
void zvs_tmp_unlist(zvs* s);

// Releases s when it is a temporary (the consuming calls).
inline void zvs_release_if_temporary(zvs* s) {
    if (s->temporary) zvs_free(s);
}

// Result of a string function that selects bytes [start, start + length) of s (0-based, inside
// s): s itself for the whole string; a plain temporary cut in place; otherwise a new temporary
// copy, and s released when it is a temporary.
zvs* zvs_select(zvs* s, int64_t start, int64_t length);

// Result of a string-valued function while an error is pending.
inline zvs* zvs_pending_result() { return zvs_new(0, 1); }
