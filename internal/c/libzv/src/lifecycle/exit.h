// _EXIT: the program takes over the window's close requests.
#pragma once
#include <cstdint>

// From the first call on, the close button, Alt+F4 and Break only accumulate in
// exit_value. Returns the requests since the last call (bit 0 close or Alt+F4,
// bit 1 Break) and clears them in one step; 0 while an error is pending.
int32_t func__exit();
