// _DELAY and _LIMIT on a driven clock: their sleeps, boundary checks and schedule.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "clock/clock_fixture.h"

namespace {

using Delay = ClockTest;
using Limit = ClockTest;

std::vector<int64_t> repeated(int64_t value, int count, std::vector<int64_t> tail) {
    std::vector<int64_t> v(count, value);
    v.insert(v.end(), tail.begin(), tail.end());
    return v;
}

TEST_F(Delay, ShortWaitIsOneSleepWithoutEvents) {
    driven_clock::set_ms(1000);
    sub__delay(0.005);
    EXPECT_EQ(driven_clock::sleeps, std::vector<int64_t>{5});
    EXPECT_EQ(driven_clock::boundary_checks, 0);
}

TEST_F(Delay, LongWaitServesTheBoundaryEveryNineMilliseconds) {
    sub__delay(2);
    EXPECT_EQ(driven_clock::sleeps, repeated(9, 222, {2}));
    EXPECT_EQ(driven_clock::boundary_checks, 222);
    EXPECT_EQ(GetTicks(), 2000);
}

TEST_F(Delay, ZeroWaitsNotAtAll) {
    sub__delay(0);
    EXPECT_TRUE(driven_clock::sleeps.empty());
    EXPECT_EQ(new_error.load(), 0);
}

TEST_F(Delay, OutOfRangeIsError5AndDoesNotWait) {
    for (double seconds : {-0.1, 3000000.0, 2147483.648, std::nan("")}) {
        error_reset_for_tests();
        sub__delay(seconds);
        EXPECT_EQ(new_error.load(), 5) << seconds;
    }
    EXPECT_TRUE(driven_clock::sleeps.empty());
    EXPECT_EQ(driven_clock::boundary_checks, 0);
}

TEST_F(Delay, PendingErrorReturnsAtOnce) {
    error(53);
    sub__delay(1);
    EXPECT_TRUE(driven_clock::sleeps.empty());
    EXPECT_EQ(new_error.load(), 53);
}

TEST_F(Delay, ClockGoingBackwardsKeepsTheTimeAlreadyWaited) {
    driven_clock::set_ms(5000);
    // During the third sleep the clock jumps back by four seconds.
    driven_clock::on_sleep = [] {
        if (driven_clock::sleeps.size() == 3) driven_clock::now_ns -= 4000 * 1000000LL;
    };
    sub__delay(0.1);
    // 18 ms counted before the jump (the sleep across it is lost), then 82 more.
    EXPECT_EQ(driven_clock::sleeps, repeated(9, 12, {1}));
}

struct limit_step {
    int64_t call_at;
    std::vector<int64_t> sleeps;
    int32_t boundary_checks;
    int64_t returns_at;
};

TEST_F(Limit, SixtyFramesKeepTheirScheduleUntilAFrameIsFarLate) {
    // Period 16.667 ms. Each step shows the schedule left by the one before.
    const limit_step steps[] = {
        {100, {}, 0, 100},         // first call: schedule starts at 100
        {105, {9, 2, 0}, 1, 117},  // waits for 116.667, which becomes the schedule
        {160, {}, 0, 160},         // 43.3 late (<= p + 32): schedule kept, 133.333
        {140, {9, 1, 0}, 1, 151},  // waits for 150
        {200, {}, 0, 200},         // 50 late (> p + 32): schedule reset to 200
        {205, {9, 2, 0}, 1, 217},  // waits for 216.667
    };
    for (const auto& s : steps) {
        driven_clock::sleeps.clear();
        driven_clock::boundary_checks = 0;
        driven_clock::set_ms(s.call_at);
        sub__limit(60);
        EXPECT_EQ(driven_clock::sleeps, s.sleeps) << "call at " << s.call_at;
        EXPECT_EQ(driven_clock::boundary_checks, s.boundary_checks) << "call at " << s.call_at;
        EXPECT_EQ(GetTicks(), s.returns_at) << "call at " << s.call_at;
    }
}

TEST_F(Limit, ExactlyOnePeriodLaterReturnsAtOnceAndAdvancesTheSchedule) {
    driven_clock::set_ms(100);
    sub__limit(50);  // 20 ms
    driven_clock::set_ms(120);
    sub__limit(50);
    EXPECT_TRUE(driven_clock::sleeps.empty());
    EXPECT_EQ(GetTicks(), 120);
    driven_clock::set_ms(125);
    sub__limit(50);  // waits for 140
    EXPECT_EQ(driven_clock::sleeps, (std::vector<int64_t>{9, 6}));
    EXPECT_EQ(GetTicks(), 140);
}

TEST_F(Limit, ScheduleAfterTheClockBecomesAFreshStart) {
    driven_clock::set_ms(500);
    sub__limit(10);
    driven_clock::set_ms(400);  // earlier than the schedule
    sub__limit(10);
    EXPECT_TRUE(driven_clock::sleeps.empty());
    driven_clock::set_ms(450);
    sub__limit(10);  // 100 ms period from 400: waits until 500
    EXPECT_EQ(GetTicks(), 500);
}

TEST_F(Limit, BadRatesAreError5AndLeaveTheScheduleAlone) {
    driven_clock::set_ms(100);
    sub__limit(60);
    for (double fps : {0.0, -60.0, 0.01, std::nan("")}) {
        error_reset_for_tests();
        driven_clock::set_ms(105);
        sub__limit(fps);
        EXPECT_EQ(new_error.load(), 5) << fps;
        EXPECT_EQ(GetTicks(), 105);
    }
    error_reset_for_tests();
    sub__limit(60);  // still on the schedule started at 100
    EXPECT_EQ(GetTicks(), 117);
}

TEST_F(Limit, SlowestRateIsOneFrameAMinute) {
    sub__limit(1000.0 / 60000.0);
    EXPECT_EQ(new_error.load(), 0);
}

TEST_F(Limit, PendingErrorReturnsAtOnce) {
    driven_clock::set_ms(100);
    sub__limit(60);
    error(53);
    driven_clock::set_ms(105);
    sub__limit(60);
    EXPECT_TRUE(driven_clock::sleeps.empty());
    EXPECT_EQ(new_error.load(), 53);
}

}  // namespace
