// A driven clock for the clock tests: sleeps are recorded and advance the clock
// (a zero sleep by 1 ms, so polling loops always progress); boundary checks are counted.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "clock/clock.h"
#include "core/boundary.h"
#include "error/error.h"

struct driven_clock {
    static inline int64_t now_ns = 0;
    static inline libzv_local_time local{2026, 2, 3, 12, 0, 0, 0};
    static inline bool local_fails = false;
    static inline std::vector<int64_t> sleeps;
    static inline int32_t boundary_checks = 0;
    // Called before each sleep advances the clock (a test may move the clock).
    static inline void (*on_sleep)() = nullptr;

    static int64_t monotonic() { return now_ns; }
    static bool local_now(libzv_local_time* out) {
        if (local_fails) return false;
        *out = local;
        return true;
    }
    static void sleep(int64_t ms) {
        sleeps.push_back(ms);
        if (on_sleep) on_sleep();
        now_ns += (ms > 0 ? ms : 1) * 1000000;
    }
    static void boundary() { boundary_checks++; }
    static inline const clock_source source{monotonic, local_now, sleep};

    static void set_ms(int64_t ms) { now_ns = ms * 1000000; }
    static int64_t ms() { return GetTicks(); }
};

class ClockTest : public ::testing::Test {
protected:
    void SetUp() override {
        driven_clock::now_ns = 0;
        driven_clock::local = {2026, 2, 3, 12, 0, 0, 0};
        driven_clock::local_fails = false;
        driven_clock::sleeps.clear();
        driven_clock::boundary_checks = 0;
        driven_clock::on_sleep = nullptr;
        clock_set_source(&driven_clock::source);
        clock_init();
        clock_reset_for_tests();
        error_reset_for_tests();
        libzv_set_boundary_check(driven_clock::boundary);
    }
    void TearDown() override {
        libzv_set_boundary_check(nullptr);
        clock_set_source(nullptr);
        error_reset_for_tests();
    }
};
