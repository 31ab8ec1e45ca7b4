// The string heap: zvs_new, the heap-string list, heap compaction and growth.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "error/error.h"
#include "string/zvs_internal.h"

bool zvs_length_fits(int64_t length) {
    if (length <= INT32_MAX) return true;
    error(ERR_OOM_STRING_HEAP);
    return false;
}

void zvs_heap_list_append(zvs* s) {
    zvs_state& st = zvs_st();
    if (st.heap_list_nexti > st.heap_list_lasti) {
        // Drop released slots; order (and so address order) is kept.
        int32_t kept = 0;
        for (int32_t i = 0; i < st.heap_list_nexti; i++) {
            zvs* live = st.heap_list[i];
            if (live == zvs_slot_released) continue;
            live->list_slot = kept;
            st.heap_list[kept++] = live;
        }
        st.heap_list_nexti = kept;
        if (2 * int64_t(kept) >= st.heap_list_lasti) {
            int64_t lasti = int64_t(st.heap_list_lasti) * 2;
            auto list = lasti < INT32_MAX ? static_cast<zvs**>(realloc(st.heap_list, (lasti + 1) * sizeof(zvs*)))
                                          : nullptr;
            if (!list) {
                error(ERR_OOM_STRING_HEAP_BLOCK);
                return;
            }
            st.heap_list = list;
            st.heap_list_lasti = int32_t(lasti);
        }
    }
    s->list_slot = st.heap_list_nexti;
    st.heap_list[st.heap_list_nexti++] = s;
}

void zvs_heap_compact(int64_t need) {
    zvs_state& st = zvs_st();
    if (st.heap_list_nexti > 0) {
        int64_t cursor = 0;
        st.heap_next = 0;
        for (int32_t i = 0; i < st.heap_list_nexti; i++) {
            zvs* s = st.heap_list[i];
            if (s == zvs_slot_released) continue;
            int64_t offset = s->text - st.heap;
            // Small gaps stay: moving a text costs more than the bytes it would win.
            if (offset > cursor + zvs_spare) {
                if (s->length) memmove(st.heap + cursor, s->text, s->length);
                s->text = st.heap + cursor;
                offset = cursor;
            }
            cursor = offset + s->length;
            st.heap_next = cursor;
        }
    }
    if (need + 2 * st.heap_next + zvs_spare < st.heap_size) return;

    int64_t size = need + 2 * st.heap_size;
    uintptr_t old_base = reinterpret_cast<uintptr_t>(st.heap);
    auto heap = static_cast<uint8_t*>(realloc(st.heap, size));
    if (!heap) {
        error(ERR_OOM_STRING_HEAP);
        return;
    }
    st.heap = heap;
    st.heap_size = size;
    for (int32_t i = 0; i < st.heap_list_nexti; i++) {
        zvs* s = st.heap_list[i];
        if (s != zvs_slot_released) s->text = heap + (reinterpret_cast<uintptr_t>(s->text) - old_base);
    }
}

zvs* zvs_new(int32_t length, uint8_t temporary) {
    zvs_state& st = zvs_st();
    if (length < 0) length = 0;
    int64_t room = int64_t(length) + zvs_spare;
    if (st.heap_next + room > st.heap_size) {
        zvs_heap_compact(room);
        // Only after a fatal error: nothing fits, hand out an empty string.
        if (st.heap_next + room > st.heap_size) length = 0, room = 0;
    }
    zvs* s = zvs_take_descriptor();
    s->length = length;
    s->text = st.heap + st.heap_next;
    st.heap_next += room;
    zvs_heap_list_append(s);
    if (temporary) zvs_tmp_register(s);
    return s;
}
