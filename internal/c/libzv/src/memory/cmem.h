// Emulated conventional memory: 1,114,099 bytes addressed as segment * 16 + offset.
// One fixed, zeroed array that never moves; screen pages alias parts of it. Also
// DEF SEG, PEEK, POKE and the dynamic blocks placed downwards from 0xA0000.
// Program thread only, except the BIOS bytes that other threads write (cmem_shared).
#pragma once
#include <atomic>
#include <cstdint>

constexpr int64_t cmem_size = 1114099;  // 0x10FFF3: segment 0xFFFF + offset 0xFFFF is 0x10FFEF
extern uint8_t cmem[cmem_size];

// Bytes that other threads write (BIOS keyboard buffer, flags, timer ticks).
inline std::atomic_ref<uint8_t> cmem_shared(int64_t linear) { return std::atomic_ref<uint8_t>(cmem[linear]); }

// The data block: the default data segment 0x50 (DEF SEG without a value).
constexpr int64_t dblock_linear = 0x500;
constexpr int64_t dblock_size = 65536;
inline uint8_t* const dblock = cmem + dblock_linear;
// 8 zero bytes at the top of the data block: the data of every unallocated array.
constexpr int64_t nothingvalue_offset = dblock_size - 8;
inline uint8_t* const nothingvalue = dblock + nothingvalue_offset;
// Offset in the data block of the lowest 4-byte string descriptor handed out.
// Translated SUBs and FUNCTIONs save it on entry and restore it on exit.
extern int32_t cmem_sp;

// Base of the current DEF SEG segment inside cmem.
extern uint8_t* defseg;

// Floor of the dynamic blocks and the address they are placed below.
constexpr uint32_t cmem_static_pointer = 0x10500;
constexpr uint32_t cmem_dynamic_top = 0xA0000;

// Zeroes cmem and sets the data block up: DEF SEG 0x50, cmem_sp lowered past
// nothingvalue to 65528, no dynamic blocks. Start-up, before any other thread.
void cmem_global_init();
// The same for tests (also forgets every dynamic block).
void cmem_reset_for_tests();

// DEF SEG [= segment]: -65536 to 65535, taken as 16 bits; without one, segment 0x50.
void sub_defseg(int64_t segment, int32_t passed);
// PEEK(offset): the byte at DEF SEG + offset (-65536 to 65535, taken as 16 bits).
// Runs while an error is pending.
int32_t func_peek(int64_t offset);
// POKE offset, value: stores the low byte.
void sub_poke(int64_t offset, int32_t value);

// A block of conventional memory for an array: size 0 gives the SCREEN 13
// address without allocating; above 65536 bytes is fatal. First fit from the top.
uint8_t* cmem_dynamic_malloc(uint32_t size);
// Frees a block from cmem_dynamic_malloc; null, 0xA0000 and unknown pointers do nothing.
void cmem_dynamic_free(uint8_t* block);
// Start (linear) of the lowest block placed at the end of the block list.
uint32_t cmem_dynamic_base();
// Forgets every dynamic block (part of cmem_global_init).
void cmem_dynamic_global_init();
