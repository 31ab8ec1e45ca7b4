// The static arena: a bump allocator for variables that live as long as the
// program or one SUB call. Earlier arenas stay valid when a new one starts.
// Program thread only.
#pragma once
#include <cstdint>

// Next free byte of the current arena. Translated SUBs save it on entry and give
// it back with mem_static_restore on exit.
extern uint8_t* mem_static_pointer;

// Allocates the first arena (1 MiB). Start-up, before any other thread.
void mem_static_global_init();
// size rounded up to 16 bytes, not cleared. A block that would reach the limit
// starts a new arena of (previous size * 2 + request) bytes; failure is fatal.
uint8_t* mem_static_malloc(uint32_t size);
// Back to p when p lies in the current arena, else to the arena's base.
void mem_static_restore(uint8_t* p);

// The current arena, for tests.
struct mem_static_arena {
    uint8_t* base;
    uint8_t* limit;
    int64_t size;
};
mem_static_arena mem_static_current();
