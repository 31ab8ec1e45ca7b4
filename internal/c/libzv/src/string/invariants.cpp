// Test support: the bookkeeping at a glance and the invariant checker.
#include <algorithm>
#include <string>
#include <vector>

#include "string/zvs_debug.h"
#include "string/zvs_internal.h"

zvs_heap_info zvs_heap_info_now() {
    const zvs_state& st = zvs_st();
    int64_t carved = int64_t(st.block_count - 1) * zvs_descriptors_per_block + st.descriptor_next;
    return {st.heap,           st.heap_next,      st.heap_size,           st.heap_list_nexti, st.heap_list_lasti,
            st.tmp_list_nexti, st.tmp_list_lasti, carved - st.free_count, st.block_count};
}

zvs* zvs_tmp_slot(uint32_t slot) { return zvs_st().tmp_list[slot]; }
zvs* zvs_heap_slot(int32_t slot) { return zvs_st().heap_list[slot]; }

// Runs after every step of long randomised tests: one allocation unless something is wrong.
std::string zvs_check_invariants() {
    const zvs_state& st = zvs_st();
    std::string problems;
    auto fail = [&](const char* what, int64_t where) {
        problems += what;
        problems += " (" + std::to_string(where) + ")\n";
    };

    if (st.heap_next < 0 || st.heap_next > st.heap_size) fail("heap_next outside the heap", st.heap_next);
    if (st.heap_list_nexti < 0 || st.heap_list_nexti > st.heap_list_lasti + 1)
        fail("heap list index out of range", st.heap_list_nexti);
    int64_t previous_end = 0;
    for (int32_t i = 0; i < st.heap_list_nexti; i++) {
        const zvs* s = st.heap_list[i];
        if (s == zvs_slot_released) continue;
        if (s->list_slot != i) fail("heap slot not linked back", i);
        if (zvs_storage_of(s) != zvs_storage::heap) fail("heap slot holds no heap string", i);
        if (s->length < 0) fail("negative length in heap slot", i);
        int64_t start = s->text - st.heap;
        int64_t end = start + s->length;
        if (start < 0 || end > st.heap_size) fail("text outside the heap in heap slot", i);
        if (start < previous_end) fail("text before the end of the previous live text in heap slot", i);
        previous_end = end;
    }
    if (st.heap_next < previous_end) fail("heap_next below the end of the last live text", st.heap_next);

    auto heap_listed = [&](const zvs* s) {
        return s->list_slot >= 0 && s->list_slot < st.heap_list_nexti && st.heap_list[s->list_slot] == s;
    };
    auto tmp_listed = [&](const zvs* s) {
        return s->temp_slot > 0 && uint32_t(s->temp_slot) < st.tmp_list_nexti && st.tmp_list[s->temp_slot] == s;
    };

    if (st.tmp_list_nexti < 1 || st.tmp_list_nexti > st.tmp_list_lasti + 1)
        fail("temporary index out of range", st.tmp_list_nexti);
    if (st.tmp_list[0] != zvs_slot_released) fail("temporary slot 0 used", 0);
    for (uint32_t i = 1; i < st.tmp_list_nexti && i <= st.tmp_list_lasti; i++) {
        const zvs* s = st.tmp_list[i];
        if (s == zvs_slot_released) continue;
        // The back link makes a second registration of the same string impossible.
        if (uint32_t(s->temp_slot) != i) fail("temporary slot not linked back", i);
        if (!s->temporary) fail("temporary flag clear in slot", i);
        if (zvs_storage_of(s) == zvs_storage::heap && !heap_listed(s)) fail("heap text not listed, temporary slot", i);
    }

    std::vector<const zvs*> freed(st.free_descriptors, st.free_descriptors + st.free_count);
    std::sort(freed.begin(), freed.end());
    if (std::adjacent_find(freed.begin(), freed.end()) != freed.end()) fail("descriptor released twice", 0);
    for (int64_t i = 0; i < st.free_count; i++) {
        const zvs* s = st.free_descriptors[i];
        if ((zvs_storage_of(s) == zvs_storage::heap && heap_listed(s)) || tmp_listed(s))
            fail("released descriptor still listed, free stack entry", i);
    }
    return problems;
}
