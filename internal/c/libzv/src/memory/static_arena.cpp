// The static arena: bump allocation with arenas that double and never move.
#include "memory/static_arena.h"

#include <cstdlib>

#include "error/error.h"

uint8_t* mem_static_pointer = nullptr;

namespace {

uint8_t* mem_static = nullptr;        // base of the current arena
uint8_t* mem_static_limit = nullptr;  // its end
int64_t mem_static_size = 0;
// Earlier arenas: their blocks stay valid for the life of the process. Sizes at
// least double, so 64 entries outlast any address space.
uint8_t* earlier_arenas[64];
int32_t earlier_count = 0;

bool new_arena(int64_t size) {
    if (earlier_count == 64) return false;
    auto* arena = static_cast<uint8_t*>(malloc(size_t(size)));
    if (!arena) return false;
    if (mem_static) earlier_arenas[earlier_count++] = mem_static;
    mem_static = arena;
    mem_static_pointer = arena;
    mem_static_limit = arena + size;
    mem_static_size = size;
    return true;
}

}  // namespace

void mem_static_global_init() {
    if (!new_arena(0x100000)) error(ERR_OOM_STATIC_ARENA);
}

uint8_t* mem_static_malloc(uint32_t size) {
    // 16, not 8: extended-precision values and array data must stay aligned.
    int64_t n = (int64_t(size) + 15) & ~int64_t(15);
    if (!mem_static || n >= mem_static_limit - mem_static_pointer) {
        if (!new_arena(mem_static_size * 2 + n)) {
            error(ERR_OOM_STATIC_ARENA);
            return nullptr;
        }
    }
    uint8_t* block = mem_static_pointer;
    mem_static_pointer += n;
    return block;
}

void mem_static_restore(uint8_t* p) {
    auto u = reinterpret_cast<uintptr_t>(p);
    if (u >= reinterpret_cast<uintptr_t>(mem_static) && u <= reinterpret_cast<uintptr_t>(mem_static_limit)) {
        mem_static_pointer = p;
    } else {
        mem_static_pointer = mem_static;
    }
}

mem_static_arena mem_static_current() { return {mem_static, mem_static_limit, mem_static_size}; }
