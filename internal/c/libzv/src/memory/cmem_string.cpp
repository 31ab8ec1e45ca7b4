// Data-block strings: the text area, the 4-byte descriptors and the string list.
#include "memory/cmem_string.h"

#include <cassert>
#include <cstdlib>
#include <cstring>

#include "error/error.h"
#include "memory/cmem.h"
#include "memory/cmem_string_internal.h"
#include "string/zvs_seams.h"

zvs* nothingstring = nullptr;
zvs* singlespace = nullptr;

namespace {

cmem_string_state state{};

const zvs_cmem_ops ops{zvs_new_fixed_cmem, zvs_remove_cmem, zvs_move_cmem, zvs_copy_cmem,
                       zvs_write_descriptor_cmem};

void write_u16(uint8_t* at, uint32_t value) {
    at[0] = uint8_t(value);
    at[1] = uint8_t(value >> 8);
}

// Lowers cmem_sp by 4 and makes those bytes s's descriptor; false (after the fatal
// error) when they would reach into the texts.
bool take_descriptor(zvs* s, int32_t error_number) {
    if (cmem_sp - 4 < state.text_end) {
        error(error_number);
        return false;
    }
    cmem_sp -= 4;
    s->data_block_descriptor = dblock + cmem_sp;
    s->data_block_offset = uint16_t(cmem_sp);
    return true;
}

}  // namespace

cmem_string_state& cmem_strings() { return state; }

void cmem_string_write_descriptor(const zvs* s, uint32_t length, int64_t text_offset) {
    if (!s->data_block_descriptor) return;
    write_u16(s->data_block_descriptor, length);
    write_u16(s->data_block_descriptor + 2, uint32_t(text_offset));
}

void zvs_write_descriptor_cmem(zvs* s) { cmem_string_write_descriptor(s, uint32_t(s->length), s->text - dblock); }

void cmem_string_setup(int32_t entries) {
    zvs_set_cmem_ops(&ops);
    free(state.list);
    state.list = static_cast<zvs**>(calloc(size_t(entries), sizeof(zvs*)));
    if (!state.list) {
        error(ERR_OOM_CMEM_STRING);
        entries = 0;
    }
    state.list_lasti = entries - 1;
    state.list_nexti = 0;
    state.text_end = 256;
}

void zvs_cmem_global_init() { cmem_string_setup(65536); }

void zvs_cmem_make_runtime_strings() {
    nothingstring = zvs_new_cmem(0, 0);
    singlespace = zvs_new_cmem(1, 0);
    singlespace->text[0] = ' ';
}

int32_t zvs_cmem_sp() { return state.text_end; }

zvs* zvs_new_cmem(int32_t length, uint8_t temporary) {
    zvs* s = zvs_take_descriptor();
    if (!s) return nullptr;  // only after a fatal error
    if (temporary) zvs_tmp_make_room();
    zvs_create_cmem(length, temporary, s);
    return s;
}

void zvs_create_cmem(int32_t length, uint8_t temporary, zvs* s) {
    if (length < 0) length = 0;
    // A variable's descriptor needs 4 bytes below the descriptors too: compacting
    // first keeps a fragmented area from failing while the string would fit.
    int32_t descriptor_bytes = temporary ? 0 : 4;
    if (int64_t(state.text_end) + length + descriptor_bytes > cmem_sp) cmem_string_compact_text();
    if (int64_t(state.text_end) + length > cmem_sp) {
        error(ERR_OOM_CMEM_STRING_SPACE);
        length = 0;  // only after a fatal error
    }
    s->length = length;
    s->text = dblock + state.text_end;
    state.text_end += length;
    s->in_data_block = 1;
    cmem_string_append(s);
    if (temporary) {
        zvs_tmp_register(s);
        return;
    }
    if (take_descriptor(s, 514)) zvs_write_descriptor_cmem(s);
}

void zvs_new_fixed_cmem(uint8_t* bytes, uint32_t length, uint8_t, zvs* s) {
    if (bytes <= cmem + 0x500 || bytes >= cmem + 0x10500) return;
    // Compaction moves only listed texts, so fixed bytes must stay below the text area.
    assert(bytes + length <= dblock + 256);
    if (cmem_sp - 4 < state.text_end) cmem_string_compact_text();
    if (take_descriptor(s, 515)) cmem_string_write_descriptor(s, length, bytes - dblock);
}

void zvs_remove_cmem(zvs* s) {
    state.list[s->list_slot] = cmem_slot_released;
    if (s->list_slot == state.list_nexti - 1) state.list_nexti--;
}

void zvs_move_cmem(zvs* dest, zvs* src) {
    state.list[dest->list_slot] = cmem_slot_released;
    state.list[src->list_slot] = dest;
    dest->list_slot = src->list_slot;
    cmem_string_write_descriptor(dest, uint32_t(src->length), src->text - dblock);
}

int32_t zvs_concat_cmem(uint32_t extra) {
    cmem_string_compact_text();
    if (int64_t(state.text_end) + extra > cmem_sp) error(ERR_OOM_CMEM_STRING_SPACE);
    return int32_t(int64_t(state.text_end) + extra);
}

void zvs_cmem_concat_list() { cmem_string_compact_list(); }
