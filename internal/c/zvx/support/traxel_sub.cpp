// SUB_TRAXEL: the debug-link SUB, empty in this system.
#include "traxel.h"

#include "shape.h"

__attribute__((noinline)) void SUB_TRAXEL() { ZV_SUB_SCOPE(); }
