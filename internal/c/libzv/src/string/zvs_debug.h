// Test support of the string system: a reset with small sizes, a look at the heap's
// bookkeeping and the invariant checker.
#pragma once
#include <cstdint>
#include <string>

#include "string/zvs.h"

// Frees everything and starts again with the given heap bytes, heap-list entries and
// temporary slots (so that compaction and growth happen in small tests).
void zvs_reset_for_tests(int64_t heap_size, int32_t list_entries, int32_t tmp_slots);

struct zvs_heap_info {
    const uint8_t* heap;  // base of the string heap
    int64_t heap_next;
    int64_t heap_size;
    int32_t heap_list_nexti;
    int32_t heap_list_lasti;
    uint32_t tmp_list_nexti;
    uint32_t tmp_list_lasti;
    int64_t live_descriptors;  // handed out and not released
    int32_t descriptor_blocks;
};
zvs_heap_info zvs_heap_info_now();

// The string registered in a temporary slot (nullptr when released), and in a heap-list slot.
zvs* zvs_tmp_slot(uint32_t slot);
zvs* zvs_heap_slot(int32_t slot);

// Checks the bookkeeping: heap-list order and back links, heap_next at or beyond the last
// live text, every registered temporary registered once and linked back, the free stack
// disjoint from both lists. Returns "" when everything holds, else what is wrong.
std::string zvs_check_invariants();
