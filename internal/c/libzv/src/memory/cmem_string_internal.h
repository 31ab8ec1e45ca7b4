// Data-block string state shared by the files of the data-block strings only.
#pragma once
#include <cstdint>

#include "string/zvs.h"

// A released slot of the data-block string list.
inline constexpr zvs* cmem_slot_released = nullptr;

struct cmem_string_state {
    zvs** list;          // data-block strings in text order; released slots hold cmem_slot_released
    int32_t list_nexti;  // next free slot
    int32_t list_lasti;  // last usable slot
    int32_t text_end;    // zvs_cmem_sp: offset of the first free byte after the texts
};

cmem_string_state& cmem_strings();

// Allocates a list of entries slots, empties the text area and hands the
// data-block operations to the string system.
void cmem_string_setup(int32_t entries);
// Appends s to the list (compacting or growing it when full).
void cmem_string_append(zvs* s);
// Closes every gap between the texts, from offset 256 up, rewriting moved descriptors.
void cmem_string_compact_text();
// Drops released slots; grows the list when it stays at least half full.
void cmem_string_compact_list();
// Writes length and text offset into s's descriptor, if it has one.
void cmem_string_write_descriptor(const zvs* s, uint32_t length, int64_t text_offset);
