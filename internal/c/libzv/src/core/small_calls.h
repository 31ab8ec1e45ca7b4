// Small calls of translated code.
#pragma once
#include <cstdint>

// n + 1, wrapping at the top of the range.
inline int32_t addone(int32_t n) { return int32_t(uint32_t(n) + 1u); }
// The drive bit mask: no drive letters exist here.
inline uint32_t logical_drives() { return 0; }
