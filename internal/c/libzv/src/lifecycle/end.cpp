// END and end(): the program thread never ends the process itself; it parks and the
// housekeeping thread performs the shutdown.
#include "lifecycle/end.h"

#include <unistd.h>

#include <atomic>

#include "clock/clock.h"
#include "core/program.h"
#include "core/runtime_flags.h"
#include "core/statement_flags.h"
#include "error/error.h"

namespace {
std::atomic<void (*)()> park_hook{nullptr};
}  // namespace

void end_set_park_hook(void (*park)()) { park_hook.store(park); }

void end() {
    dont_call_sub_gl.store(1);
    exit_ok.fetch_or(1);
    if (auto park = park_hook.load()) park();
    while (!stop_program.load()) libzv_sleep_ms(16);
    for (;;) libzv_sleep_ms(16);
}

uint8_t stop_program_state() { return stop_program.load(); }

void sub_end() {
    if (sub_gl_called.load()) error(ERR_END_INSIDE_SUB_GL);  // fatal
    dont_call_sub_gl.store(1);
    close_all_files();
    exit_blocked.store(0);  // close requests end the program again

    bool waited = true;
    if (!screen_hide.load()) {
        waited = end_wait_in_window();
    } else if (libzv_program().console) {
        waited = end_wait_on_console(STDIN_FILENO);
    }
    if (!waited) end();  // the shutdown has started
    close_program.store(1);
    end();
}
