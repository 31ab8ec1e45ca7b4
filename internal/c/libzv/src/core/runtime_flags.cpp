// Shutdown and pacing words.
#include "core/runtime_flags.h"

std::atomic<uint8_t> close_program{0};
std::atomic<int32_t> exit_value{0};
std::atomic<int32_t> exit_blocked{0};
std::atomic<uint8_t> stop_program{0};
std::atomic<int32_t> exit_ok{0};
std::atomic<int32_t> exit_code{0};
std::atomic<int32_t> lock_mainloop{0};
std::atomic<int32_t> zvevent{0};
std::atomic<int32_t> frame{0};
std::atomic<int32_t> vertical_retrace_happened{0};
std::atomic<int32_t> vertical_retrace_in_progress{0};
std::atomic<int32_t> screen_hide{0};
std::atomic<uint32_t> timer_wake{0};

void runtime_flags_reset_for_tests() {
    close_program = 0;
    exit_value = 0;
    exit_blocked = 0;
    stop_program = 0;
    exit_ok = 0;
    exit_code = 0;
    lock_mainloop = 0;
    zvevent = 0;
    frame = 0;
    vertical_retrace_happened = 0;
    vertical_retrace_in_progress = 0;
}
