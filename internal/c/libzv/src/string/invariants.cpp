// Test support: the bookkeeping at a glance and the invariant checker.
#include <string>
#include <unordered_set>

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

std::string zvs_check_invariants() {
    const zvs_state& st = zvs_st();
    std::string problems;
    auto fail = [&](const std::string& what) { problems += what + "\n"; };
    std::unordered_set<const zvs*> listed;

    if (st.heap_next < 0 || st.heap_next > st.heap_size) fail("heap_next outside the heap");
    if (st.heap_list_nexti < 0 || st.heap_list_nexti > st.heap_list_lasti + 1) fail("heap list index out of range");
    int64_t previous_end = 0;
    for (int32_t i = 0; i < st.heap_list_nexti; i++) {
        const zvs* s = st.heap_list[i];
        if (s == zvs_slot_released) continue;
        std::string at = "heap slot " + std::to_string(i);
        listed.insert(s);
        if (s->list_slot != i) fail(at + ": list_slot " + std::to_string(s->list_slot));
        if (zvs_storage_of(s) != zvs_storage::heap) fail(at + ": not a heap string");
        if (s->length < 0) fail(at + ": negative length");
        int64_t start = s->text - st.heap;
        int64_t end = start + s->length;
        if (start < 0 || end > st.heap_size) fail(at + ": text outside the heap");
        if (start < previous_end) fail(at + ": text before the end of the previous live text");
        previous_end = end;
    }
    if (st.heap_next < previous_end) fail("heap_next below the end of the last live text");

    if (st.tmp_list_nexti < 1 || st.tmp_list_nexti > st.tmp_list_lasti + 1) fail("temporary index out of range");
    if (st.tmp_list[0] != zvs_slot_released) fail("temporary slot 0 used");
    for (uint32_t i = 1; i < st.tmp_list_nexti && i <= st.tmp_list_lasti; i++) {
        const zvs* s = st.tmp_list[i];
        if (s == zvs_slot_released) continue;
        std::string at = "temporary slot " + std::to_string(i);
        if (uint32_t(s->temp_slot) != i) fail(at + ": temp_slot " + std::to_string(s->temp_slot));
        if (!s->temporary) fail(at + ": temporary flag clear");
        if (zvs_storage_of(s) == zvs_storage::heap && !listed.count(s)) fail(at + ": heap text not listed");
        listed.insert(s);
    }

    std::unordered_set<const zvs*> freed;
    for (int64_t i = 0; i < st.free_count; i++) {
        const zvs* s = st.free_descriptors[i];
        if (!freed.insert(s).second) fail("descriptor released twice");
        if (listed.count(s)) fail("released descriptor still listed");
    }
    return problems;
}
