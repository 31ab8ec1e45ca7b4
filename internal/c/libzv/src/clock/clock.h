// Clocks: the monotonic millisecond count since start-up and the local wall clock.
// Both, and sleeping, go through replaceable sources so tests can drive time.
#pragma once
#include <cstdint>

struct libzv_local_time {
    int32_t year, month, day;      // month 1..12, day 1..31
    int32_t hour, minute, second;  // 24-hour
    int32_t millisecond;
};

struct clock_source {
    int64_t (*monotonic_ns)();               // any origin; never goes backwards
    bool (*local_now)(libzv_local_time* out);  // false when the time cannot be read
    void (*sleep_ms)(int64_t ms);            // 0 yields
};

void clock_init();
// Milliseconds since clock_init.
int64_t GetTicks();
void libzv_sleep_ms(int64_t ms);
bool libzv_local_now(libzv_local_time* out);

// Milliseconds since local midnight, without the pending-error gate of TIMER:
// for the housekeeping and timer threads.
int64_t clock_time_of_day_ms();

// TIMER[(accuracy)]: seconds since local midnight, in steps of 1/18.2 s (rounded to
// SINGLE) or of the accuracy given. 0 while an error is pending; accuracy <= 0 is error 5.
double func_timer(double accuracy, int32_t passed);
// The same value without the pending-error test, for the runtime's own clocks (the
// BIOS ticks, the printer page). Never raises an error; accuracy <= 0 gives 0.
double timer_value(double accuracy, int32_t passed);

// _DELAY seconds: waits, serving the statement boundary about every 9 ms.
void sub__delay(double seconds);
// _LIMIT fps: holds a loop to a fixed frame schedule; a frame more than 32 ms late
// resets the schedule instead of hurrying to catch up.
void sub__limit(double fps);

// Forgets the _LIMIT schedule (tests).
void clock_reset_for_tests();

// Replaces the sources (tests); nullptr restores the system clock.
void clock_set_source(const clock_source* source);
const clock_source& clock_system_source();
