// INP and WAIT over the emulated PC ports: the keyboard data port 60h, the VGA
// palette data port 3C9h and the VGA input status port 3DAh. Program thread only.
#pragma once
#include <cstdint>

// INP(port): port outside -65536..65535 is error 6; any other port reads 0 and marks
// unsupported_port_accessed. 0 while an error is pending (nothing is taken).
int32_t func_inp(int32_t port);
// WAIT port, and[, xor]: polls every millisecond until (value XOR xor) AND and is not
// 0; also ends for a port that is not emulated, when the program stops or when an
// error becomes pending. passed: the xor mask was given.
void sub_wait(int32_t port, int32_t and_mask, int32_t xor_mask, int32_t passed);
