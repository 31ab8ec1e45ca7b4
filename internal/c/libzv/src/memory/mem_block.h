// _MEM blocks: checked views of raw memory, valid while their lock's id matches,
// and the _MEM statements and functions over them. Program thread only.
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

// The lock id a _MEMFREEd block keeps: never handed out, so the block stays invalid.
constexpr int64_t mem_block_freed_id = 0x3FFFFFFD;

// _MEM(variable) as generated: a block over the lock with its current id; no checks.
mem_block func__mem(intptr_t offset, intptr_t size, int32_t type, int32_t elementsize, mem_lock* lock);
// _MEM(offset, size): a block of its own plain lock. A negative size is error 301.
mem_block func__mem_at_offset(intptr_t offset, intptr_t size);
// _MEMNEW(size): new memory (not cleared) freed with the block's lock.
mem_block func__memnew(intptr_t size);
// _MEMFREE: releases what the block owns (plain and _MEMNEW locks) and makes the
// caller's block invalid.
void sub__memfree(mem_block* block);
// _MEMEXISTS: -1 while the block's lock still has the block's id, else 0.
int32_t func__memexists(mem_block block);
// _MEMGET: the address to copy size bytes from, checked against the block. After
// an error (or with one pending) a zero-filled buffer of size bytes instead.
const void* func__memget(mem_block block, intptr_t offset, intptr_t size);

// _MEMFILL: bytes from offset filled with the source pattern repeated.
void sub__memfill(mem_block block, intptr_t offset, intptr_t bytes, const void* source, intptr_t source_bytes);
void sub__memfill_nochecks(intptr_t offset, intptr_t bytes, const void* source, intptr_t source_bytes);
// Typed _MEMFILL forms fill with the value's own bytes; _FLOAT uses a 32-byte
// pattern (the 10 bytes of the extended value, then 22 zeros), _OFFSET 8 bytes.
void sub__memfill_1(mem_block block, intptr_t offset, intptr_t bytes, int8_t value);
void sub__memfill_2(mem_block block, intptr_t offset, intptr_t bytes, int16_t value);
void sub__memfill_4(mem_block block, intptr_t offset, intptr_t bytes, int32_t value);
void sub__memfill_8(mem_block block, intptr_t offset, intptr_t bytes, int64_t value);
void sub__memfill_SINGLE(mem_block block, intptr_t offset, intptr_t bytes, float value);
void sub__memfill_DOUBLE(mem_block block, intptr_t offset, intptr_t bytes, double value);
void sub__memfill_FLOAT(mem_block block, intptr_t offset, intptr_t bytes, long double value);
void sub__memfill_OFFSET(mem_block block, intptr_t offset, intptr_t bytes, intptr_t value);
void sub__memfill_nochecks_1(intptr_t offset, intptr_t bytes, int8_t value);
void sub__memfill_nochecks_2(intptr_t offset, intptr_t bytes, int16_t value);
void sub__memfill_nochecks_4(intptr_t offset, intptr_t bytes, int32_t value);
void sub__memfill_nochecks_8(intptr_t offset, intptr_t bytes, int64_t value);
void sub__memfill_nochecks_SINGLE(intptr_t offset, intptr_t bytes, float value);
void sub__memfill_nochecks_DOUBLE(intptr_t offset, intptr_t bytes, double value);
void sub__memfill_nochecks_FLOAT(intptr_t offset, intptr_t bytes, long double value);
void sub__memfill_nochecks_OFFSET(intptr_t offset, intptr_t bytes, intptr_t value);

// _MEMCOPY: bytes from one block to another (or within one), overlap allowed.
void sub__memcopy(mem_block source, intptr_t source_offset, intptr_t bytes, mem_block destination,
                  intptr_t destination_offset);

// True when (offset, bytes) lies inside the block; never wraps around. Inline: every
// checked _MEM call asks it.
inline bool mem_block_covers(const mem_block& block, intptr_t offset, intptr_t bytes) {
    if (bytes < 0 || bytes > block.size) return false;
    // offset below block.offset wraps to a huge distance.
    uint64_t distance = uint64_t(offset) - uint64_t(block.offset);
    return distance <= uint64_t(block.size - bytes);
}
