// The housekeeping loop and the shutdown handshake.
#include "lifecycle/main_loop.h"

#include <atomic>

#include "clock/clock.h"
#include "core/runtime_flags.h"
#include "display/display.h"
#include "glut/glut_queue.h"
#include "input/lock_keys.h"
#include "lifecycle/end.h"
#include "memory/cmem.h"
#include "net/net_backend.h"
#include "shell/shell_flags.h"
#include "text/lprint.h"

namespace {

void nothing() {}

// The last work before the process ends: a printer page still waiting, every file
// and network handle, the HTTP client.
void shutdown_close() {
    lprint_shutdown();
    close_all_files();
    libzv_http_stop();
}

const main_loop_hooks default_hooks{display, resync_lock_keys, nothing, lprint_idle, shutdown_close};
std::atomic<const main_loop_hooks*> hooks{&default_hooks};

const main_loop_hooks& current() { return *hooks.load(std::memory_order_acquire); }

void rendering_step() {
    if (autodisplay.load(std::memory_order_relaxed)) current().display();
    frame.fetch_add(1, std::memory_order_relaxed);
}

}  // namespace

const main_loop_hooks& main_loop_default_hooks() { return default_hooks; }

void main_loop_set_hooks(const main_loop_hooks* h) {
    hooks.store(h ? h : &default_hooks, std::memory_order_release);
}

void main_loop_update_bios_ticks() {
    // TIMER(.001) without the pending-error gate, so an open error box does not
    // stop the BIOS clock.
    double t = double(clock_time_of_day_ms()) / 1000.0;
    uint64_t ms = uint64_t(t * 1000.0) % 86400000u;
    uint32_t ticks = uint32_t(double(ms) * 0.0182);
    cmem_shared(0x46C).store(uint8_t(ticks), std::memory_order_relaxed);
    cmem_shared(0x46D).store(uint8_t(ticks >> 8), std::memory_order_relaxed);
    cmem_shared(0x46E).store(uint8_t(ticks >> 16), std::memory_order_relaxed);
}

main_loop_step main_loop_pass(main_loop_state& state) {
    if (lock_mainloop.load() == 1) {
        lock_mainloop.store(2);
        while (lock_mainloop.load() == 2) libzv_sleep_ms(1);
    }
    if (exit_value.load() && !exit_blocked.load()) return main_loop_step::shut_down;

    main_loop_update_bios_ticks();

    // While a waiting SHELL runs, only keep the screen shown.
    if (int32_t shell = shell_call_in_progress.load()) {
        if (shell != -1) {
            int32_t expected = 1;
            if (shell_call_in_progress.compare_exchange_strong(expected, -1)) rendering_step();
        } else {
            libzv_sleep_ms(64);
        }
        return main_loop_step::go_on;
    }

    libzv_sleep_ms(15);
    vertical_retrace_happened.store(1);
    vertical_retrace_in_progress.store(1);
    libzv_sleep_ms(1);

    if (close_program.load()) {
        lock_mainloop.store(2);
        return main_loop_step::shut_down;
    }

    current().sound_update();
    state.toggle = !state.toggle;
    current().printer_idle();
    if (state.toggle) rendering_step();
    vertical_retrace_in_progress.store(0);
    if (!state.toggle) current().resync_lock_keys();
    return main_loop_step::go_on;
}

void main_loop_stop_threads() {
    stop_program.store(1);
    zvevent_raise();
    timer_thread_wake();
    while (exit_ok.load() != 3) libzv_sleep_ms(16);
    current().shutdown_close();
}

void MAIN_LOOP(void*) {
    main_loop_state state;
    while (main_loop_pass(state) == main_loop_step::go_on) {
    }
    main_loop_stop_threads();
    libzv_exit(exit_code.load());
}
