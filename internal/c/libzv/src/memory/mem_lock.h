// Memory locks: a _MEM block is valid exactly while its lock's id equals the id it
// stored. Freeing memory, an image or a SUB scope zeroes the id, which invalidates
// every block over it at once.
#pragma once
#include <cstdint>

enum mem_lock_type : int32_t {
    MEM_LOCK_PLAIN = 0,   // nothing to free
    MEM_LOCK_MEMNEW = 1,  // memory from _MEMNEW, freed with the lock
    MEM_LOCK_IMAGE = 2,
    MEM_LOCK_SCOPE = 3,   // main module or one SUB call
    MEM_LOCK_ARRAY = 4,
};

struct mem_lock {
    int64_t id;      // 0 once freed
    int32_t type;    // mem_lock_type
    void* offset;    // memory to free for MEM_LOCK_MEMNEW
};

// Allocates the first pool block and the freed stack; before any other thread.
void mem_lock_global_init();
// Takes a lock (last released first) with the next id; the caller sets its type.
mem_lock* new_mem_lock();
// id = 0, frees MEMNEW memory, and keeps the record for reuse.
void free_mem_lock(mem_lock* lock);
// The last lock handed out.
mem_lock* mem_lock_last();
// A lock with id 0 that is never released or reused: blocks that must never be
// valid (a failed _MEMIMAGE) name it.
mem_lock* mem_lock_base();
// Ids start again at 0x40000000 and nothing is waiting for reuse (tests).
void mem_lock_reset_for_tests();
