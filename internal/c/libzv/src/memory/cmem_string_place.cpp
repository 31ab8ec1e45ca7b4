// Data-block strings: compaction of the text area and of the list, and the
// placement of a longer assigned text.
#include <cstdlib>
#include <cstring>

#include "error/error.h"
#include "memory/cmem.h"
#include "memory/cmem_string.h"
#include "memory/cmem_string_internal.h"

namespace {

int64_t offset_of(const uint8_t* text) { return text - dblock; }

void copy_in_place(zvs* dest, const zvs* src, int32_t length) {
    if (dest->text != src->text) memmove(dest->text, src->text, size_t(length));
    dest->length = length;
}

}  // namespace

void cmem_string_compact_text() {
    cmem_string_state& st = cmem_strings();
    int32_t cursor = 256;
    for (int32_t i = 0; i < st.list_nexti; i++) {
        zvs* s = st.list[i];
        if (s == cmem_slot_released) continue;
        if (s->text != dblock + cursor) {
            if (s->length) memmove(dblock + cursor, s->text, size_t(s->length));
            s->text = dblock + cursor;
            zvs_write_descriptor_cmem(s);
        }
        cursor += s->length;
    }
    st.text_end = cursor;
}

void cmem_string_compact_list() {
    cmem_string_state& st = cmem_strings();
    int32_t live = 0;
    for (int32_t i = 0; i < st.list_nexti; i++) {
        zvs* s = st.list[i];
        if (s == cmem_slot_released) continue;
        st.list[live] = s;
        s->list_slot = live++;
    }
    st.list_nexti = live;
    if (int64_t(live) * 2 < int64_t(st.list_lasti)) return;
    int64_t lasti = int64_t(st.list_lasti) * 2;
    if (lasti < 1) lasti = 1;
    auto* grown = lasti < INT32_MAX ? static_cast<zvs**>(realloc(st.list, size_t(lasti + 1) * sizeof(zvs*))) : nullptr;
    if (!grown) {
        error(ERR_OOM_CMEM_STRING);
        return;
    }
    memset(grown + st.list_lasti + 1, 0, size_t(lasti - st.list_lasti) * sizeof(zvs*));
    st.list = grown;
    st.list_lasti = int32_t(lasti);
}

void cmem_string_append(zvs* s) {
    cmem_string_state& st = cmem_strings();
    if (st.list_nexti > st.list_lasti) cmem_string_compact_list();
    if (st.list_nexti > st.list_lasti) return;  // only after a fatal error
    s->list_slot = st.list_nexti;
    st.list[st.list_nexti++] = s;
}

void zvs_copy_cmem(zvs* dest, zvs* src) {
    cmem_string_state& st = cmem_strings();
    int32_t slot = dest->list_slot;
    int32_t length = src->length;
    const uint8_t* descriptor_floor = dblock + cmem_sp;
    bool placed = false;
    if (slot == st.list_nexti - 1) {
        // The last text grows in place up to the descriptors.
        if (dest->text + length <= descriptor_floor) {
            copy_in_place(dest, src, length);
            st.text_end = int32_t(offset_of(dest->text) + length);
            placed = true;
        }
    } else {
        // The first live text after dest bounds the room. src is skipped by identity:
        // a heap temporary's slot number belongs to another list.
        const zvs* next = nullptr;
        for (int32_t i = slot + 1; i < st.list_nexti && !next; i++) {
            const zvs* s = st.list[i];
            if (s != cmem_slot_released && !(s == src && src->temporary)) next = s;
        }
        if (next) {
            if (dest->text + length <= next->text) {
                copy_in_place(dest, src, length);
                placed = true;
            }
        } else {
            st.list_nexti = slot + 1;
            if (dest->text + length <= descriptor_floor) {
                copy_in_place(dest, src, length);
                st.text_end = int32_t(offset_of(dest->text) + length);
                placed = true;
            }
        }
    }
    if (!placed) {
        // New text at the end; dest's old text is reclaimed by the next compaction.
        st.list[slot] = cmem_slot_released;
        if (int64_t(st.text_end) + length > cmem_sp) {
            cmem_string_compact_text();
            if (int64_t(st.text_end) + length > cmem_sp) {
                error(ERR_OOM_CMEM_STRING_SPACE);
                length = 0;  // only after a fatal error
            }
        }
        cmem_string_append(dest);
        dest->text = dblock + st.text_end;
        dest->length = length;
        st.text_end += length;
        // src is read again: compaction may have moved it.
        memmove(dest->text, src->text, size_t(length));
    }
    zvs_write_descriptor_cmem(dest);
}
