// GetTicks and TIMER on a driven clock.
#include <gtest/gtest.h>

#include "clock/clock_fixture.h"

namespace {

using Ticks = ClockTest;
using Timer = ClockTest;

TEST_F(Ticks, MillisecondsRoundHalfUpFromTheOrigin) {
    EXPECT_EQ(GetTicks(), 0);
    driven_clock::now_ns = 2000499999;
    EXPECT_EQ(GetTicks(), 2000);
    driven_clock::now_ns = 2000500000;
    EXPECT_EQ(GetTicks(), 2001);
}

TEST_F(Ticks, FirstReadingAfterInitIsZeroWhateverTheCounter) {
    driven_clock::now_ns = 123456789012345;
    clock_init();
    EXPECT_EQ(GetTicks(), 0);
    driven_clock::now_ns += 1500000;
    EXPECT_EQ(GetTicks(), 2);
}

struct timer_case {
    libzv_local_time local;
    double accuracy;
    int32_t passed;
    double expected;
};

TEST_F(Timer, StepsAndAccuracies) {
    const timer_case cases[] = {
        {{2026, 2, 3, 0, 0, 0, 500}, 0, 0, double(float(9 / 18.2))},
        {{2026, 2, 3, 0, 0, 0, 500}, 0.001, 1, 0.5},
        // 136.5 steps: ties go to even (half-up would give 137).
        {{2026, 2, 3, 0, 0, 7, 500}, 0, 0, double(float(136 / 18.2))},
        {{2026, 2, 3, 23, 59, 59, 999}, 0, 0, 86400},
        {{2026, 2, 3, 12, 0, 0, 0}, 0, 0, double(float(786240 / 18.2))},
        {{2026, 2, 3, 12, 34, 56, 789}, 0.001, 1, 45296.789},
        {{2026, 2, 3, 12, 34, 56, 789}, 0.5, 1, 45297},
        {{2026, 2, 3, 12, 34, 56, 789}, 60, 1, 45300},
    };
    for (const auto& c : cases) {
        driven_clock::local = c.local;
        EXPECT_DOUBLE_EQ(func_timer(c.accuracy, c.passed), c.expected)
            << c.local.hour << ":" << c.local.minute << ":" << c.local.second << "." << c.local.millisecond
            << " accuracy " << c.accuracy;
        EXPECT_EQ(new_error.load(), 0);
    }
    driven_clock::local = {2026, 2, 3, 0, 0, 0, 500};
    EXPECT_NEAR(func_timer(0, 0), 0.4945055, 1e-7);
}

TEST_F(Timer, NonPositiveAccuracyIsError5) {
    for (double accuracy : {0.0, -1.0, -0.001}) {
        error_reset_for_tests();
        EXPECT_EQ(func_timer(accuracy, 1), 0);
        EXPECT_EQ(new_error.load(), 5) << accuracy;
    }
}

TEST_F(Timer, PendingErrorGivesZeroButTheRuntimeVariantKeepsCounting) {
    driven_clock::local = {2026, 2, 3, 12, 0, 0, 0};
    error(53);
    EXPECT_EQ(func_timer(0, 0), 0);
    EXPECT_EQ(func_timer(-1, 1), 0);
    EXPECT_EQ(new_error.load(), 53);
    EXPECT_DOUBLE_EQ(timer_value(0.001, 1), 43200);
    EXPECT_EQ(new_error.load(), 53);
}

TEST_F(Timer, UnreadableWallClockGivesZero) {
    driven_clock::local_fails = true;
    EXPECT_EQ(func_timer(0.001, 1), 0);
}

}  // namespace
