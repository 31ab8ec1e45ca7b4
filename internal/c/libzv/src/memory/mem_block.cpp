// _MEM, _MEMNEW, _MEMFREE, _MEMEXISTS and _MEMGET.
#include <cstdlib>

#include "error/error.h"
#include "memory/mem_block.h"

namespace {

bool error_pending() { return new_error.load(std::memory_order_relaxed) != 0; }

mem_block plain_block(mem_lock* lock, intptr_t offset, intptr_t size, int32_t type) {
    return {offset, size, lock->id, lock, type, 1, -1};
}

// Zero bytes that _MEMGET hands out after an error; translated code only reads
// from them. Grows, never shrinks.
uint8_t* zero_buffer = nullptr;
int64_t zero_buffer_size = 0;

const void* zeros(intptr_t size) {
    int64_t need = size > 16 ? int64_t(size) : 16;
    if (need > zero_buffer_size) {
        auto* grown = static_cast<uint8_t*>(calloc(size_t(need), 1));
        if (!grown) {
            error(ERR_OOM_MEMGET_BUFFER);
            return zero_buffer;
        }
        free(zero_buffer);
        zero_buffer = grown;
        zero_buffer_size = need;
    }
    return zero_buffer;
}

}  // namespace

mem_block func__mem(intptr_t offset, intptr_t size, int32_t type, int32_t elementsize, mem_lock* lock) {
    return {offset, size, lock ? lock->id : 0, lock, type, elementsize, -1};
}

mem_block func__mem_at_offset(intptr_t offset, intptr_t size) {
    mem_lock* lock = new_mem_lock();
    lock->type = MEM_LOCK_PLAIN;
    if (error_pending()) return plain_block(lock, 0, 0, 0);
    if (size < 0) {
        error(ERR_MEM_INVALID_SIZE);
        return plain_block(lock, 0, 0, 0);
    }
    return plain_block(lock, offset, size, 0x4000);
}

mem_block func__memnew(intptr_t size) {
    mem_lock* lock = new_mem_lock();
    lock->type = MEM_LOCK_PLAIN;
    if (error_pending()) return plain_block(lock, 0, 0, 0);
    if (size < 0) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return plain_block(lock, 0, 0, 0x4000);
    }
    // A valid empty block: offset 1 so that it is not mistaken for a failure.
    if (size == 0) return plain_block(lock, 1, 0, 0x4000);
    void* memory = malloc(size_t(size));
    if (!memory) return plain_block(lock, 0, 0, 0x4000);
    lock->type = MEM_LOCK_MEMNEW;
    lock->offset = memory;
    return plain_block(lock, reinterpret_cast<intptr_t>(memory), size, 0x4000);
}

void sub__memfree(mem_block* block) {
    if (error_pending()) return;
    if (!block->lock) {
        error(ERR_MEM_NOT_INITIALIZED);
        return;
    }
    if (block->lock->id != block->lock_id) {
        error(ERR_MEM_ALREADY_FREED);
        return;
    }
    // Images, scopes and arrays are released by their owners, not through a block.
    if (block->lock->type == MEM_LOCK_PLAIN || block->lock->type == MEM_LOCK_MEMNEW) free_mem_lock(block->lock);
    block->lock_id = mem_block_freed_id;
}

int32_t func__memexists(mem_block block) {
    if (error_pending()) return 0;
    return block.lock && block.lock->id == block.lock_id ? -1 : 0;
}

const void* func__memget(mem_block block, intptr_t offset, intptr_t size) {
    // Generated code copies from the result before it looks at the error, so
    // every failure still hands out readable bytes.
    if (error_pending()) return zeros(size);
    if (!block.lock) {
        error(ERR_MEM_NOT_INITIALIZED);
        return zeros(size);
    }
    if (block.lock->id != block.lock_id) {
        error(ERR_MEM_FREED);
        return zeros(size);
    }
    if (!mem_block_covers(block, offset, size)) {
        error(ERR_MEM_OUT_OF_RANGE);
        return zeros(size);
    }
    return reinterpret_cast<const void*>(offset);
}
