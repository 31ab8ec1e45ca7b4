// The x87 mode of the extended type.
#pragma once

// 64-bit mantissa, round to nearest even, every exception masked (control word 0x037F).
void set_fpu_extended_precision();
