// EOF, LOF, LOC and the SEEK function and statement. The functions answer also while
// an error is pending.
#pragma once
#include <cstdint>

int32_t func_eof(int32_t n);
int64_t func_lof(int32_t n);
int64_t func_loc(int32_t n);
int64_t func_seek(int32_t n);
// SEEK #n, position: a record number of a RANDOM file, else a 1-based byte number.
void sub_seek(int32_t n, int64_t position);
