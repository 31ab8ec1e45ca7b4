// The _MEM value: a checked view of raw memory, valid while its lock's id matches.
#pragma once
#include <cstdint>

#include "memory/mem_lock.h"

struct mem_block {
    intptr_t offset;     // first byte (a host address)
    intptr_t size;       // bytes
    int64_t lock_id;     // the lock's id when the block was made
    mem_lock* lock;      // null for a block never initialised
    int32_t type;        // type flags of the covered data; 0x4000 for _MEMNEW and _MEM(offset, size)
    int32_t elementsize;
    int32_t image;       // image handle, -1 when the block covers no image
};
