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

// Replaces the sources (tests); nullptr restores the system clock.
void clock_set_source(const clock_source* source);
const clock_source& clock_system_source();
