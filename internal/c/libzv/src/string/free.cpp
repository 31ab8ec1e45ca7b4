// Releasing a string (zvs_free): FIELD link, temporary slot, text and descriptor.
#include <algorithm>

#include "string/zvs_internal.h"

namespace {

void release_heap_text(zvs* s) {
    zvs_state& st = zvs_st();
    st.heap_list[s->list_slot] = zvs_slot_released;
    while (st.heap_list_nexti > 0 && st.heap_list[st.heap_list_nexti - 1] == zvs_slot_released) st.heap_list_nexti--;
    if (st.heap_list_nexti == 0) {
        st.heap_next = 0;
        return;
    }
    const zvs* last = st.heap_list[st.heap_list_nexti - 1];
    st.heap_next = std::min(last->text - st.heap + last->length + zvs_spare, st.heap_size);
}

}  // namespace

void zvs_free(zvs* s) {
    if (!s) return;
    if (s->field_link) zvs_field_free(s);
    if (s->temp_slot != 0) zvs_tmp_unlist(s);
    switch (zvs_storage_of(s)) {
        case zvs_storage::heap: release_heap_text(s); break;
        case zvs_storage::data_block: zvs_cmem()->remove_cmem(s); break;
        case zvs_storage::fixed:
        case zvs_storage::read_only: break;
    }
    zvs_recycle_descriptor(s);
}
