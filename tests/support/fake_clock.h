// A clock that tests drive: sleeping advances it at once.
#pragma once
#include <atomic>
#include <cstdint>

#include "clock/clock.h"

struct fake_clock {
    static inline std::atomic<int64_t> now_ns{0};
    static inline std::atomic<int64_t> slept_ms{0};
    static inline libzv_local_time local{2026, 2, 3, 12, 0, 0, 0};

    static int64_t monotonic() { return now_ns.load(); }
    static bool local_now(libzv_local_time* out) {
        *out = local;
        return true;
    }
    static void sleep(int64_t ms) {
        slept_ms += ms > 0 ? ms : 0;
        now_ns += (ms > 0 ? ms : 0) * 1000000;
    }
    static inline const clock_source source{monotonic, local_now, sleep};

    fake_clock() {
        now_ns = 0;
        slept_ms = 0;
        clock_set_source(&source);
        clock_init();
    }
    ~fake_clock() { clock_set_source(nullptr); }
};
