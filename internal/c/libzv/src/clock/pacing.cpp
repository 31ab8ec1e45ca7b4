// _DELAY and _LIMIT: waits that keep serving traps and the shutdown.
#include <cstdint>

#include "clock/clock.h"
#include "core/boundary.h"
#include "error/error.h"

namespace {

// GetTicks time at which _LIMIT last released a frame; 0 before the first call.
// Program thread only.
double limit_previous = 0;

}  // namespace

void sub__delay(double seconds) {
    int64_t start = GetTicks();
    if (new_error.load(std::memory_order_relaxed)) return;
    if (!(seconds >= 0 && seconds <= 2147483.647)) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }
    double target = seconds * 1000.0;
    int64_t previous_elapsed = 0;
    for (;;) {
        int64_t elapsed = GetTicks() - start;
        if (elapsed < 0) {
            // The clock went backwards: the time already waited still counts.
            start += elapsed - previous_elapsed;
            elapsed = previous_elapsed;
        }
        if (target <= double(elapsed)) return;
        int64_t wait = int64_t(target - double(elapsed));
        if (wait <= 9) {
            libzv_sleep_ms(wait);
            return;
        }
        previous_elapsed = elapsed;
        libzv_sleep_ms(9);
        libzv_boundary_check();
    }
}

void sub__limit(double fps) {
    if (new_error.load(std::memory_order_relaxed)) return;
    if (!(fps > 0) || 1000.0 / fps > 60000.0) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }
    double period = 1000.0 / fps;
    for (;;) {
        double now = double(GetTicks());
        if (limit_previous == 0 || limit_previous > now) {
            limit_previous = now;
            return;
        }
        double elapsed = now - limit_previous;
        if (elapsed == period) {
            limit_previous += period;
            return;
        }
        if (period > elapsed) {
            int64_t wait = int64_t(period - elapsed);
            if (wait < 10) {
                libzv_sleep_ms(wait);
            } else {
                libzv_sleep_ms(9);
                libzv_boundary_check();
            }
            continue;
        }
        // Late: keep the schedule unless the frame is far behind it.
        limit_previous = elapsed > period + 32 ? now : limit_previous + period;
        return;
    }
}

void clock_reset_for_tests() { limit_previous = 0; }
