// VARPTR$: the 3-byte string that names a variable for DRAW and PLAY.
#pragma once
#include <cstdint>

#include "string/zvs.h"

// A temporary of the type byte, then the offset's low and high byte.
zvs* func_varptr_helper(uint8_t type, uint16_t offset);
