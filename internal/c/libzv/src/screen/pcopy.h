// PCOPY.
#pragma once
#include <cstdint>

// PCOPY source, destination: each a page number (made on demand) or a negative
// image handle (error 5 when it names no image). Both must have the same size and
// depth, and a palette destination's mask must hold the source's values (error 5).
void sub_pcopy(int32_t source, int32_t destination);
