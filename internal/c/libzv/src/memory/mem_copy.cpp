// _MEMCOPY.
#include <cstring>

#include "error/error.h"
#include "memory/mem_block.h"

void sub__memcopy(mem_block source, intptr_t source_offset, intptr_t bytes, mem_block destination,
                  intptr_t destination_offset) {
    if (new_error.load(std::memory_order_relaxed)) return;
    // The first matching rule names the error.
    if (!source.lock) {
        error(destination.lock ? 310 : 312);
        return;
    }
    if (!destination.lock) {
        error(311);
        return;
    }
    bool source_freed = source.lock->id != source.lock_id;
    bool destination_freed = destination.lock->id != destination.lock_id;
    if (source_freed) {
        error(destination_freed ? 313 : 305);
        return;
    }
    if (destination_freed) {
        error(306);
        return;
    }
    if (bytes < 0) {
        error(301);
        return;
    }
    bool source_bad = !mem_block_covers(source, source_offset, bytes);
    bool destination_bad = !mem_block_covers(destination, destination_offset, bytes);
    if (source_bad) {
        error(destination_bad ? 304 : 302);
        return;
    }
    if (destination_bad) {
        error(303);
        return;
    }
    if (bytes == 0) return;
    memmove(reinterpret_cast<void*>(destination_offset), reinterpret_cast<const void*>(source_offset),
            size_t(bytes));
}
