// SWAP of two strings and of two memory blocks (numbers, fixed-length strings,
// user types).
#pragma once
#include <cstdint>

struct zvs;

// Exchanges the texts of a and b through a non-temporary copy of a, so that neither
// string is consumed; a fixed-length side keeps its length (padded or cut).
void swap_string(zvs* a, zvs* b);

// Exchanges length bytes of p and q: four bytes at a time, then the rest.
void swap_block(void* p, void* q, int64_t length);
