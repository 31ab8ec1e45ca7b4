// STICK and STRIG: the legacy joystick functions, read from the controller devices.
// Program thread. passed bit 0: the second argument was given.
#pragma once
#include <cstdint>

// Axis (n AND 1) + 2 x (axis_set - 1) of controller n >> 1 as 1..254; 128 when no
// such controller or axis exists.
int32_t func_stick(int32_t n, int32_t axis_set, int32_t passed);
// Button (n >> 2) + 1: bit 0 of n clear, pressed since last asked; set, held now.
// -1 or 0.
int32_t func_strig(int32_t n, int32_t controller, int32_t passed);
