// set_fpu_extended_precision: the first statement of every main module.
#include "core/fpu.h"

#include <fpu_control.h>

void set_fpu_extended_precision() {
    fpu_control_t word = 0x037F;
    _FPU_SETCW(word);
}
