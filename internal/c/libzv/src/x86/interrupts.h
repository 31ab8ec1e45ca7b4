// The interrupt services behind INT n, CALL INTERRUPT and CALL INTERRUPTX: only the
// mouse driver (33h) answers, from the runtime's mouse ring.
#pragma once
#include <cstdint>

// Runs service n on the register file; every number but 33h does nothing.
void call_int(int32_t n);
