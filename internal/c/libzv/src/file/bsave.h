// BSAVE: a range of conventional memory written to a file in the memory-image format:
// byte FDh, then segment, offset and length (16 bits each, little-endian; length 0
// stands for 65536), then the bytes. Program thread only.
#pragma once
#include <cstdint>

struct zvs;

constexpr uint8_t bsave_mark = 0xFD;
constexpr int64_t bsave_header_size = 7;

// BSAVE name, offset, length in the DEF SEG segment. Offset -65536..65535 and length
// -65536..65536 (else error 6) are taken as 16 bits, but 65536 stays. A range past
// the end of conventional memory is error 5 (nothing created); a file that cannot be
// made or whose bytes another opener locks is error 64; a failed write 75, and a
// regular file then keeps its previous contents.
void sub_bsave(zvs* name, int32_t offset, int32_t length);
