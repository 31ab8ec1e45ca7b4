// Assignment (zvs_set): fixed-length padding, hand-over of temporaries, in-place reuse of the
// destination's space, and new text at the heap end.
#include <algorithm>
#include <cstring>

#include "string/zvs_internal.h"

namespace {

// A temporary's text is taken over instead of copied.
void hand_over(zvs* dest, zvs* src) {
    zvs_state& st = zvs_st();
    if (zvs_storage_of(dest) == zvs_storage::heap) {
        st.heap_list[dest->list_slot] = zvs_slot_released;
        st.heap_list[src->list_slot] = dest;
        dest->list_slot = src->list_slot;
    } else {
        zvs_cmem()->move_cmem(dest, src);
    }
    zvs_tmp_unlist_handover(src);
    dest->text = src->text;
    dest->length = src->length;
    zvs_recycle_descriptor(src);
}

bool fits_before(const zvs* dest, int64_t length, int64_t limit) {
    return dest->text - zvs_st().heap + length <= limit;
}

void copy_into(zvs* dest, const zvs* src) {
    if (src->length && dest->text != src->text) memmove(dest->text, src->text, src->length);
    dest->length = src->length;
}

// src is longer than the heap string dest.
void assign_longer_heap(zvs* dest, zvs* src) {
    zvs_state& st = zvs_st();
    int32_t slot = dest->list_slot;
    int64_t length = src->length;
    if (slot == st.heap_list_nexti - 1) {
        // The last string grows in place up to the heap's end.
        if (fits_before(dest, length, st.heap_size)) {
            copy_into(dest, src);
            st.heap_next = dest->text - st.heap + length;
            return;
        }
    } else {
        // The first live string after dest bounds the room. A temporary src is skipped by
        // identity: its slot number may belong to another list.
        const zvs* next = nullptr;
        for (int32_t i = slot + 1; i < st.heap_list_nexti && !next; i++) {
            const zvs* s = st.heap_list[i];
            if (s != zvs_slot_released && !(s == src && src->temporary)) next = s;
        }
        if (next) {
            if (fits_before(dest, length, next->text - st.heap)) {
                copy_into(dest, src);
                return;
            }
        } else {
            st.heap_list_nexti = slot + 1;
            if (fits_before(dest, length, st.heap_size)) {
                copy_into(dest, src);
                st.heap_next = dest->text - st.heap + length;
                return;
            }
        }
    }
    // New text at the heap end; dest's old text is garbage for the next compaction.
    st.heap_list[slot] = zvs_slot_released;
    if (st.heap_next + length > st.heap_size) {
        zvs_heap_compact(length);
        if (st.heap_next + length > st.heap_size) length = 0;  // only after a fatal error
    }
    zvs_heap_list_append(dest);
    dest->text = st.heap + st.heap_next;
    dest->length = int32_t(length);
    st.heap_next += length;
    // src is read again: compaction may have moved it.
    memmove(dest->text, src->text, length);
}

}  // namespace

zvs* zvs_set(zvs* dest, zvs* src) {
    if (dest == src) return dest;
    zvs_storage kind = zvs_storage_of(dest);
    if (kind == zvs_storage::read_only) {
        // Constant text is never written; translated code never assigns to a wrapper.
    } else if (kind == zvs_storage::fixed) {
        int32_t n = std::min(src->length, dest->length);
        if (n && dest->text != src->text) memmove(dest->text, src->text, n);
        if (n < dest->length) memset(dest->text + n, ' ', dest->length - n);
    } else if (src->temporary && zvs_storage_of(src) == kind &&
               (kind == zvs_storage::heap || kind == zvs_storage::data_block)) {
        hand_over(dest, src);
        return dest;
    } else if (src->length <= dest->length) {
        copy_into(dest, src);
        if (kind == zvs_storage::data_block) zvs_cmem()->write_descriptor_cmem(dest);
    } else if (kind == zvs_storage::data_block) {
        zvs_cmem()->copy_cmem(dest, src);
    } else {
        assign_longer_heap(dest, src);
    }
    zvs_release_if_temporary(src);
    return dest;
}
