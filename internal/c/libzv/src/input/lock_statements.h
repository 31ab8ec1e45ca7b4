// _CAPSLOCK, _NUMLOCK and _SCROLLLOCK: the lock states of the system, read and set.
#pragma once
#include <cstdint>

// -1 while the lock is on.
int32_t func__capslock();
int32_t func__numlock();
int32_t func__scrolllock();
// mode 1 ON, 2 OFF, 3 _TOGGLE. They act even while an error is pending.
void sub__capslock(int32_t mode);
void sub__numlock(int32_t mode);
void sub__scrolllock(int32_t mode);
