// evnt: the statement boundary of translated code.
#include "clock/clock.h"
#include "core/runtime_flags.h"
#include "core/statement_flags.h"
#include "error/error.h"
#include "lifecycle/end.h"
#include "lifecycle/fix_error.h"
#include "program.h"
#include "shape.h"

int32_t r = 0;

void evnt(uint32_t line, uint32_t include_line, const char* include_file) {
    if (disableEvents.load(std::memory_order_relaxed)) return;
    // Cleared before the state is examined: a request that races this clear is
    // either seen below or raises the flag again for the next boundary.
    zvevent.exchange(0, std::memory_order_acquire);
    r = 0;

    while (suspend_program.load() || stop_program.load()) {
        if (stop_program.load()) end();
        libzv_sleep_ms(10);
    }

    if (new_error_is_set()) {
        error_set_line(line, include_line, include_file);
        fix_error();
        if (error_retry.load()) {
            error_retry.store(0);
            r = 1;
        }
        return;
    }

    if (!sub_gl_called.load()) zv_trap_step();
}

void zv_wait_boundary_check() { evnt(0, 0, nullptr); }

void set_dynamic_info() {}
