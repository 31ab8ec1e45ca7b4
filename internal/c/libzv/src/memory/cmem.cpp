// Emulated conventional memory.
#include "memory/cmem.h"

alignas(16) uint8_t cmem[cmem_size];
