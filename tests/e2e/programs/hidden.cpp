// Starts with its screen hidden, runs for a moment, then ends.
#include "zv.h"

namespace {
void ZVMAIN() {
    libzv_sleep_ms(700);
    close_program.store(1);
    end();
}
void sub_clear() {}
void dispatch_handler(int32_t, int64_t) {}
}  // namespace

ZV_PROGRAM(ZVMAIN, sub_clear, dispatch_handler, nullptr, 0);
