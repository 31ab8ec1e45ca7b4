// Waits in a loop until the runtime tells it to stop.
#include "zv.h"

namespace {
void ZVMAIN() {
    for (;;) {
        libzv_sleep_ms(10);
        if (stop_program.load()) end();
    }
}
void sub_clear() {}
void dispatch_handler(int32_t, int64_t) {}
}  // namespace

ZV_PROGRAM(ZVMAIN, sub_clear, dispatch_handler, nullptr, 0);
