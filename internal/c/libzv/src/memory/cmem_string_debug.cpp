// Test support of the data-block strings: reset, list view and invariant checker.
#include "memory/cmem_string_debug.h"

#include <set>

#include "memory/cmem.h"
#include "memory/cmem_string.h"
#include "memory/cmem_string_internal.h"

void zvs_cmem_reset_for_tests(int32_t list_entries) {
    cmem_string_setup(list_entries);
    nothingstring = nullptr;
    singlespace = nullptr;
}

zvs_cmem_list_info zvs_cmem_list_now() {
    const cmem_string_state& st = cmem_strings();
    return {st.list_nexti, st.list_lasti};
}

zvs* zvs_cmem_slot(int32_t slot) { return cmem_strings().list[slot]; }

namespace {

uint32_t read_u16(const uint8_t* at) { return uint32_t(at[0]) | uint32_t(at[1]) << 8; }

std::string describe(int32_t slot, const std::string& what) { return "slot " + std::to_string(slot) + ": " + what; }

}  // namespace

std::string zvs_cmem_check_invariants() {
    const cmem_string_state& st = cmem_strings();
    if (st.text_end < 256 || st.text_end > cmem_sp) return "text end outside 256..cmem_sp";
    if (st.list_nexti < 0 || st.list_nexti > st.list_lasti + 1) return "list_nexti outside the list";
    const uint8_t* previous_end = dblock + 256;
    std::set<const uint8_t*> descriptors;
    for (int32_t i = 0; i < st.list_nexti; i++) {
        const zvs* s = st.list[i];
        if (s == cmem_slot_released) continue;
        if (!s->in_data_block) return describe(i, "not a data-block string");
        if (s->list_slot != i) return describe(i, "list_slot does not link back");
        if (s->text < previous_end) return describe(i, "text out of order or overlapping");
        if (s->text + s->length > dblock + st.text_end) return describe(i, "text beyond the text end");
        previous_end = s->text + s->length;
        if (s->temporary && s->data_block_descriptor) return describe(i, "a temporary with a descriptor");
        if (!s->data_block_descriptor) continue;
        const uint8_t* d = s->data_block_descriptor;
        if (d < dblock + cmem_sp || d + 4 > nothingvalue) return describe(i, "descriptor outside the descriptor area");
        if (d - dblock != s->data_block_offset) return describe(i, "descriptor offset does not match");
        if (!descriptors.insert(d).second) return describe(i, "descriptor shared with another string");
        if (read_u16(d) != (uint32_t(s->length) & 0xFFFF)) return describe(i, "descriptor length is stale");
        if (read_u16(d + 2) != uint32_t(s->text - dblock)) return describe(i, "descriptor text offset is stale");
    }
    return "";
}
