// SLEEP: the window form woken by keys and timers, and the console form watching the terminal.
#include "text/sleep.h"

#include "clock/clock.h"
#include "core/boundary.h"
#include "core/runtime_flags.h"
#include "error/error.h"
#include "image/image_table.h"
#include "platform/console_terminal.h"
#include "text/console_input.h"

namespace {

std::atomic<uint32_t> key_events{0};

bool woken() {
    return sleep_break.load(std::memory_order_relaxed) || stop_program.load(std::memory_order_relaxed);
}

// The console form: a key on the terminal ends the wait, a mouse report does not.
// Piped input belongs to INPUT and is never read; the end of input ends a wait
// for a key, while a timed wait keeps its time.
void console_sleep(int64_t remaining, bool timed) {
    bool terminal = console_input_is_terminal();
    console_mode before = console_set_mode(console_mode::keys);
    console_flush_input();
    int64_t start = GetTicks();
    auto acts = [&](console_input s) {
        return (s == console_input::ready && terminal) || (s == console_input::end && !timed);
    };
    for (;;) {
        int64_t wait = timed && remaining > 0 && remaining < 10 ? remaining : 10;
        console_input state = console_input_state();
        if (!acts(state)) {
            libzv_sleep_ms(wait);
            state = console_input_state();
        }
        if (state == console_input::end && !timed) break;
        if (state == console_input::ready && terminal) {
            if (func__getconsoleinput() == 1) {
                libzv_sleep_ms(100);
                console_flush_input();
                break;
            }
            console_flush_input();  // a mouse report goes with the rest of the input
        }
        libzv_boundary_check();
        if (woken()) break;
        if (timed) {
            int64_t now = GetTicks();
            if (start > now) break;
            remaining -= now - start;
            start = now;
            if (remaining <= 0) break;
        }
    }
    console_set_mode(before);
}

// The window form: keys and timers set sleep_break.
void window_sleep(int64_t remaining) {
    int64_t start = GetTicks();
    for (;;) {
        libzv_boundary_check();
        if (woken()) return;
        if (remaining <= 0) {
            libzv_sleep_ms(9);
            continue;
        }
        int64_t now = GetTicks();
        if (start > now) return;
        int64_t elapsed = now - start;
        if (remaining <= elapsed) return;
        int64_t left = remaining - elapsed;
        if (left < 10) {
            libzv_sleep_ms(left);
            return;
        }
        libzv_sleep_ms(9);
    }
}

}  // namespace

void sleep_wait(int64_t milliseconds, bool timed) {
    sleep_break.store(0, std::memory_order_relaxed);
    int64_t remaining = timed ? milliseconds : 0;
    if (read_page()->console)
        console_sleep(remaining, timed);
    else
        window_sleep(remaining);
}

void sub_sleep(int32_t seconds, int32_t passed) {
    if (new_error_is_set()) return;
    // In 64 bits: a count above 2,147,483 seconds must not wrap into a wait for a key.
    sleep_wait(1000 * static_cast<int64_t>(seconds), passed & 1);
}

void sleep_key_event() {
    key_events.fetch_add(1, std::memory_order_relaxed);
    sleep_break.store(1, std::memory_order_release);
}

uint32_t sleep_key_events() { return key_events.load(std::memory_order_acquire); }

void sleep_wake() { sleep_break.store(1, std::memory_order_release); }

void sleep_reset_for_tests() {
    sleep_break.store(0);
    key_events.store(0);
}
