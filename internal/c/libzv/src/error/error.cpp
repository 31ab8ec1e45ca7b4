// Raising numbered errors.
#include "error/error.h"

#include "core/runtime_flags.h"

std::atomic<int32_t> new_error{0};

void error(int32_t n) {
    int32_t none = 0;
    new_error.compare_exchange_strong(none, n, std::memory_order_acq_rel);
    zvevent_raise();
}

void error_reset_for_tests() { new_error.store(0); }
