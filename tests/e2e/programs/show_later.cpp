// Starts with its screen hidden, then has the window created and carries on.
#include <cstdio>

#include "zv.h"

namespace {
void ZVMAIN() {
    libzv_sleep_ms(700);
    sub__screenshow();
    printf("shown\n");
    fflush(stdout);
    libzv_sleep_ms(500);
    close_program.store(1);
    end();
}
void sub_clear() {}
void dispatch_handler(int32_t, int64_t) {}
}  // namespace

ZV_PROGRAM(ZVMAIN, sub_clear, dispatch_handler, nullptr, 0);
