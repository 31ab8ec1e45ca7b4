// SWAP of two memory blocks (numbers, fixed-length strings, user types).
#pragma once
#include <cstdint>

// Exchanges length bytes of p and q: four bytes at a time, then the rest.
void swap_block(void* p, void* q, int64_t length);
