// TIMER: seconds since local midnight in steps of 1/18.2 s or of a given accuracy.
#include <cmath>

#include "clock/clock.h"
#include "error/error.h"

double timer_value(double accuracy, int32_t passed) {
    double steps_per_second = 18.2;
    if (passed) {
        if (!(accuracy > 0)) return 0;
        steps_per_second = 1.0 / accuracy;
    }
    double ms = double(clock_time_of_day_ms());
    // Rounded in the current mode: ties go to even.
    double result = std::nearbyint(ms / 1000.0 * steps_per_second) / steps_per_second;
    if (!passed) result = double(float(result));
    return result;
}

double func_timer(double accuracy, int32_t passed) {
    if (new_error.load(std::memory_order_relaxed)) return 0;
    if (passed && !(accuracy > 0)) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return 0;
    }
    return timer_value(accuracy, passed);
}
