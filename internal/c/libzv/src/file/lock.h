// LOCK and UNLOCK: byte ranges of an open file, counted in records for RANDOM files and
// in bytes for BINARY files; files of the sequential modes are locked whole.
#pragma once
#include <cstdint>

// LOCK #n[, [start] [TO end]]; passed bit 0 (1): start given, bit 1 (2): end given.
void sub_lock(int32_t n, int64_t start, int64_t end, int32_t passed);
void sub_unlock(int32_t n, int64_t start, int64_t end, int32_t passed);

// The inclusive byte range of a LOCK or UNLOCK (-1 start: from byte 0; -1 end: to the end
// of the addressable range). False after error 5.
struct lock_byte_range {
    int64_t start;
    int64_t end;
};
bool lock_range(uint8_t basic_mode, int64_t record_length, int64_t start, int64_t end, int32_t passed,
                lock_byte_range* out);
