// The GOSUB return-point stack, grown on demand by translated GOSUB code.
// Program thread only.
#pragma once
#include <cstdint>

extern uint32_t* return_point;     // the return points
extern int64_t return_points;      // capacity
extern int64_t next_return_point;  // entries in use

// 16384 entries. Start-up, before any other thread.
void return_point_global_init();
// Doubles the capacity, keeping the entries; beyond 0x7FFFFFFF entries, or when
// memory runs out, fatal error 256.
void more_return_points();
