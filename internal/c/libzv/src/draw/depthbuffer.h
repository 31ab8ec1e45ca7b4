// _DEPTHBUFFER: the depth-buffer modes of the hardware render targets, and depth
// clears queued for the renderer.
#pragma once
#include <cstdint>

constexpr int32_t DEPTHBUFFER_OFF = 0, DEPTHBUFFER_ON = 1, DEPTHBUFFER_LOCKED = 2;

// The current mode of a command destination: 0 the software screen layer, -1 the
// second hardware layer, above 0 a hardware image's list index. Program thread.
int32_t depthbuffer_mode_of(int32_t destination);

// _DEPTHBUFFER {ON|OFF|LOCK|_CLEAR}[, target]: mode 1 ON, 2 OFF, 3 LOCK, 4 _CLEAR
// (others act as ON); target 0 the screen layer, 1 the second layer, or a hardware
// image; passed bit 0: target given.
void sub__depthbuffer(int32_t mode, int32_t target, int32_t passed);

// Both layers back to ON (tests).
void depthbuffer_reset_for_tests();
