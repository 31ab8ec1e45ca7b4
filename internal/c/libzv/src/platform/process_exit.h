// The one way the process ends: flush what is buffered, then leave with the code.
#pragma once
#include <cstdint>

[[noreturn]] void libzv_process_exit(int32_t code);

// Tests replace the final step: the hook records the code; when it returns, the
// calling thread is parked for good. nullptr restores _exit.
using process_exit_fn = void (*)(int32_t code);
void libzv_set_process_exit_hook(process_exit_fn hook);

// Called by modules that buffer output (the log file) before the process ends.
void libzv_register_exit_flush(void (*flush)());
