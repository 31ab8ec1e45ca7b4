// Seams of the string system for the modules that extend it: the data-block strings of
// conventional memory and the FIELD statement. Until a module registers its hooks, its
// branches are unreachable (no data-block string exists) or do nothing (no FIELD links).
#pragma once
#include <cstdint>

#include "string/zvs.h"

// The data-block side of the string operations. Every string these receive has
// in_data_block set (except new_fixed, which receives a fixed-length string).
struct zvs_cmem_ops {
    // zvs_new_fixed with temporary 0: gives s a data-block descriptor when bytes lie in the
    // data block; otherwise does nothing.
    void (*new_fixed_cmem)(uint8_t* bytes, uint32_t length, uint8_t flag, zvs* s);
    // zvs_free: takes s out of the data-block list (its text is reclaimed later).
    void (*remove_cmem)(zvs* s);
    // zvs_set hand-over of a data-block temporary src to a data-block dest: dest takes src's
    // list slot and its descriptor is rewritten. zvs_set then copies src's text pointer and
    // length into dest and recycles src's descriptor.
    void (*move_cmem)(zvs* dest, zvs* src);
    // zvs_set of a longer src into a data-block dest: places and copies the text, sets the
    // length and rewrites dest's descriptor. zvs_set releases a temporary src afterwards.
    void (*copy_cmem)(zvs* dest, zvs* src);
    // zvs_set shortened a data-block dest in place: rewrite its descriptor, if it has one.
    void (*write_descriptor_cmem)(zvs* s);
};
// nullptr: no data-block strings.
void zvs_set_cmem_ops(const zvs_cmem_ops* ops);

// Building blocks for the data-block constructor (zvs_new_cmem):
// a zero-filled descriptor (from the free stack or the current block),
zvs* zvs_take_descriptor();
// room for one more temporary (grows the temporary list; fatal error 511 when it cannot),
void zvs_tmp_make_room();
// and the registration of s as a temporary (sets temp_slot and temporary).
void zvs_tmp_register(zvs* s);

// FIELD hooks: field_free detaches a string from its FIELD before it is freed; lrset_field
// copies an LSET or RSET destination into its slice of the file's record buffer.
// nullptr: nothing happens.
using zvs_field_hook = void (*)(zvs* s);
void zvs_set_field_hooks(zvs_field_hook field_free, zvs_field_hook lrset_field);

// Calls of the hooks (string module).
void zvs_field_free(zvs* s);
void zvs_lrset_field(zvs* s);
const zvs_cmem_ops* zvs_cmem();
