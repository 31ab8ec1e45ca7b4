// Clocks and sleeping over CLOCK_MONOTONIC and localtime_r.
#include "clock/clock.h"

#include <atomic>
#include <ctime>
#include <sys/time.h>

namespace {

int64_t system_monotonic_ns() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

bool system_local_now(libzv_local_time* out) {
    timeval tv;
    if (gettimeofday(&tv, nullptr) != 0) return false;
    time_t secs = tv.tv_sec;
    tm local;
    if (!localtime_r(&secs, &local)) return false;
    *out = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour, local.tm_min, local.tm_sec, int32_t(tv.tv_usec / 1000)};
    return true;
}

void system_sleep_ms(int64_t ms) {
    if (ms <= 0) {
        timespec zero{0, 0};
        clock_nanosleep(CLOCK_MONOTONIC, 0, &zero, nullptr);
        return;
    }
    timespec ts{time_t(ms / 1000), long(ms % 1000) * 1000000};
    while (clock_nanosleep(CLOCK_MONOTONIC, 0, &ts, &ts) != 0) {
    }
}

const clock_source system_source{system_monotonic_ns, system_local_now, system_sleep_ms};
std::atomic<const clock_source*> source{&system_source};
std::atomic<int64_t> origin_ms{0};

int64_t monotonic_ms() {
    // Rounded to the nearest millisecond.
    return (source.load(std::memory_order_relaxed)->monotonic_ns() + 500000) / 1000000;
}

}  // namespace

void clock_init() {
    // localtime_r runs on several threads later; the time zone is read once, here.
    tzset();
    origin_ms.store(monotonic_ms(), std::memory_order_relaxed);
}

int64_t GetTicks() { return monotonic_ms() - origin_ms.load(std::memory_order_relaxed); }

void libzv_sleep_ms(int64_t ms) { source.load(std::memory_order_relaxed)->sleep_ms(ms); }

bool libzv_local_now(libzv_local_time* out) {
    return source.load(std::memory_order_relaxed)->local_now(out);
}

int64_t clock_time_of_day_ms() {
    libzv_local_time t;
    if (!libzv_local_now(&t)) return 0;
    return (int64_t(t.hour) * 3600 + t.minute * 60 + t.second) * 1000 + t.millisecond;
}

void clock_set_source(const clock_source* s) {
    source.store(s ? s : &system_source, std::memory_order_relaxed);
}

const clock_source& clock_system_source() { return system_source; }
