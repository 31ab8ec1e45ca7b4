// SHELL state shared with the housekeeping loop.
#include "shell/shell_flags.h"

std::atomic<int32_t> shell_call_in_progress{0};
