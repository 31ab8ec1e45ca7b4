// Slot lists: stable 1-based handles to fixed-size records whose addresses never
// change while the list lives. Lookups take no lock; a thread-safe list guards
// additions and removals with two mutexes (always taken add, then remove).
#pragma once
#include <cstdint>

struct list;

// A list of records of element_size bytes (each record 16-byte aligned).
list* list_new(int32_t element_size);
// The same, safe for adds and removes on several threads beside lock-free gets.
list* list_new_threadsafe(int32_t element_size);

// A handle to a zeroed record: the last freed handle when there is one, else a new one.
int32_t list_add(list* l);
// -1 when the handle named a live record (now freed), 0 otherwise.
int32_t list_remove(list* l, int32_t handle);
// The record, or null for a handle outside 1 to the highest handed out or a freed one.
void* list_get(list* l, int32_t handle);
// The handle stored after a record.
int32_t list_get_index(list* l, const void* record);
// Frees everything the list allocated, the list itself included.
void list_destroy(list* l);
