// Temporary strings: registration, marks and the release down to a mark (zvs_tmp_release_to).
#include <cstdlib>
#include <cstring>

#include "error/error.h"
#include "string/zvs_internal.h"

void zvs_tmp_make_room() {
    zvs_state& st = zvs_st();
    if (st.tmp_list_nexti <= st.tmp_list_lasti) return;
    uint64_t lasti = uint64_t(st.tmp_list_lasti) * 2;
    auto list = lasti < UINT32_MAX ? static_cast<zvs**>(realloc(st.tmp_list, (lasti + 1) * sizeof(zvs*))) : nullptr;
    if (!list) {
        error(ERR_OOM_STRING_TEMPORARIES);
        return;
    }
    memset(list + st.tmp_list_lasti + 1, 0, (lasti - st.tmp_list_lasti) * sizeof(zvs*));
    st.tmp_list = list;
    st.tmp_list_lasti = uint32_t(lasti);
}

void zvs_tmp_register(zvs* s) {
    zvs_state& st = zvs_st();
    zvs_tmp_make_room();
    if (st.tmp_list_nexti > st.tmp_list_lasti) return;  // only after a fatal error
    s->temp_slot = int32_t(st.tmp_list_nexti);
    st.tmp_list[st.tmp_list_nexti++] = s;
    s->temporary = 1;
}

void zvs_tmp_unlist_handover(zvs* s) {
    zvs_state& st = zvs_st();
    uint32_t slot = uint32_t(s->temp_slot);
    st.tmp_list[slot] = zvs_slot_released;
    if (slot + 1 == st.tmp_list_nexti) st.tmp_list_nexti = slot;
}

void zvs_tmp_unlist(zvs* s) {
    zvs_state& st = zvs_st();
    st.tmp_list[s->temp_slot] = zvs_slot_released;
    while (st.tmp_list_nexti > 1 && st.tmp_list[st.tmp_list_nexti - 1] == zvs_slot_released) st.tmp_list_nexti--;
}

void zvs_maketmp(zvs* s) {
    if (s->temp_slot != 0) return;  // registering twice would free it twice
    zvs_tmp_register(s);
    // A temporary has no data-block descriptor: the FUNCTION that made the string gives those
    // four bytes back when it returns, and they must not be written for this string again.
    if (s->in_data_block) {
        s->data_block_descriptor = nullptr;
        s->data_block_offset = 0;
    }
}

uint32_t zvs_tmp_list_nexti() { return zvs_st().tmp_list_nexti; }

int32_t zvs_tmp_release_to(uint32_t mark, int32_t value) {
    zvs_state& st = zvs_st();
    if (mark < 1) mark = 1;  // slot 0 is never handed out
    while (st.tmp_list_nexti > mark) {
        st.tmp_list_nexti--;
        zvs* s = st.tmp_list[st.tmp_list_nexti];
        if (s != zvs_slot_released) zvs_free(s);
    }
    return value;
}
