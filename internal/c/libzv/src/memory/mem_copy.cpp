// _MEMCOPY.
#include <cstring>

#include "error/error.h"
#include "memory/mem_block.h"

namespace {

// Up to 64 bytes without a library call. Every byte is loaded before any is stored,
// so overlapping ranges move as with memmove.
void move_small(uint8_t* to, const uint8_t* from, size_t n) {
    if (n >= 32) {
        uint8_t head[32], tail[32];
        memcpy(head, from, 32);
        memcpy(tail, from + n - 32, 32);
        memcpy(to, head, 32);
        memcpy(to + n - 32, tail, 32);
    } else if (n >= 16) {
        uint8_t head[16], tail[16];
        memcpy(head, from, 16);
        memcpy(tail, from + n - 16, 16);
        memcpy(to, head, 16);
        memcpy(to + n - 16, tail, 16);
    } else if (n >= 8) {
        uint64_t head, tail;
        memcpy(&head, from, 8);
        memcpy(&tail, from + n - 8, 8);
        memcpy(to, &head, 8);
        memcpy(to + n - 8, &tail, 8);
    } else if (n >= 4) {
        uint32_t head, tail;
        memcpy(&head, from, 4);
        memcpy(&tail, from + n - 4, 4);
        memcpy(to, &head, 4);
        memcpy(to + n - 4, &tail, 4);
    } else if (n) {
        // n is 1 to 3: offsets 0, n / 2 and n - 1 cover it.
        uint8_t first = from[0], middle = from[n / 2], last = from[n - 1];
        to[0] = first;
        to[n / 2] = middle;
        to[n - 1] = last;
    }
}

}  // namespace

void sub__memcopy(mem_block source, intptr_t source_offset, intptr_t bytes, mem_block destination,
                  intptr_t destination_offset) {
    if (new_error.load(std::memory_order_relaxed)) return;
    // The first matching rule names the error.
    if (!source.lock) {
        error(destination.lock ? 310 : 312);
        return;
    }
    if (!destination.lock) {
        error(ERR_MEM_DEST_NOT_INITIALIZED);
        return;
    }
    bool source_freed = source.lock->id != source.lock_id;
    bool destination_freed = destination.lock->id != destination.lock_id;
    if (source_freed) {
        error(destination_freed ? 313 : 305);
        return;
    }
    if (destination_freed) {
        error(ERR_MEM_DEST_FREED);
        return;
    }
    if (bytes < 0) {
        error(ERR_MEM_INVALID_SIZE);
        return;
    }
    bool source_bad = !mem_block_covers(source, source_offset, bytes);
    bool destination_bad = !mem_block_covers(destination, destination_offset, bytes);
    if (source_bad) {
        error(destination_bad ? 304 : 302);
        return;
    }
    if (destination_bad) {
        error(ERR_MEM_DEST_OUT_OF_RANGE);
        return;
    }
    if (bytes <= 64) {
        move_small(reinterpret_cast<uint8_t*>(destination_offset), reinterpret_cast<const uint8_t*>(source_offset),
                   size_t(bytes));
        return;
    }
    memmove(reinterpret_cast<void*>(destination_offset), reinterpret_cast<const void*>(source_offset),
            size_t(bytes));
}
