// Words the statement boundary reads besides the shutdown flags.
#include "core/statement_flags.h"

std::atomic<int32_t> disableEvents{0};
std::atomic<uint8_t> suspend_program{0};
std::atomic<int32_t> sub_gl_called{0};
std::atomic<int32_t> dont_call_sub_gl{0};

void statement_flags_reset_for_tests() {
    disableEvents = 0;
    suspend_program = 0;
    sub_gl_called = 0;
    dont_call_sub_gl = 0;
}
