// Signal handlers of translated programs: integer division by zero and segmentation faults.
#pragma once

// SIGFPE: error 11, which is fatal (its box, then exit code 0).
void division_by_zero_handler(int signal);
// SIGSEGV: an ERROR entry with the stack trace, then exit code 1.
void segv_handler(int signal);

// Installs division_by_zero_handler for SIGFPE (the main module's prologue).
void libzv_install_division_by_zero_handler();
// Installs segv_handler for SIGSEGV, on an alternate stack of the calling thread so
// that it also runs after a stack overflow.
void libzv_install_segv_handler();
