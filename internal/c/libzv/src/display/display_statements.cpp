// _DISPLAY, _AUTODISPLAY (statement and function) and display_now: automatic and
// manual frame production.
#include "clock/clock.h"
#include "core/runtime_flags.h"
#include "display/display.h"
#include "display/producer_internal.h"
#include "error/error.h"

namespace {

bool stopping() { return stop_program.load(std::memory_order_relaxed) != 0; }

}  // namespace

void sub__display() {
    if (new_error_is_set()) return;
    if (screen_hide.load(std::memory_order_acquire)) return;
    if (autodisplay.load(std::memory_order_acquire)) {
        // The housekeeping loop's next call shows a frame and switches to manual.
        autodisplay.store(-1, std::memory_order_release);
        while (autodisplay.load(std::memory_order_acquire) != 0 && !stopping()) libzv_sleep_ms(1);
        return;
    }
    display();
}

void sub__autodisplay() {
    if (new_error_is_set()) return;
    autodisplay.store(1, std::memory_order_release);
}

int32_t func__autodisplay() {
    if (new_error_is_set()) return 0;
    return autodisplay.load(std::memory_order_acquire) ? -1 : 0;
}

void display_now() {
    if (!autodisplay.load(std::memory_order_acquire)) {
        display();
        return;
    }
    int64_t requested_after = display_calls_started.load(std::memory_order_acquire);
    while (display_calls_finished.load(std::memory_order_acquire) <= requested_after && !stopping())
        libzv_sleep_ms(1);
}
