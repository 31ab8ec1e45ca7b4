// Waits in a loop until the runtime tells it to stop.
#include "waiting.h"
#include "zv.h"

namespace {
void ZVMAIN() {
    wait_until_stopped();
}
void sub_clear() {}
void dispatch_handler(int32_t, int64_t) {}
}  // namespace

ZV_PROGRAM(ZVMAIN, sub_clear, dispatch_handler, nullptr, 0);
