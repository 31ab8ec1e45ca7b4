// Starts with its screen hidden, then has the window created and carries on.
#include <cstdio>

#include "program.h"

#include "clock/clock.h"
#include "core/end.h"
#include "core/runtime_flags.h"
#include "glut/glut_setup.h"

namespace {
void ZVMAIN() {
    libzv_sleep_ms(700);
    libzv_start_glut_thread();
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
