// DATE$ and TIME$ on a driven wall clock.
#include <gtest/gtest.h>

#include <string>

#include "clock/clock_fixture.h"
#include "clock/date_time.h"
#include "string/zvs_debug.h"

namespace {

std::string text(const zvs* s) { return std::string(reinterpret_cast<const char*>(s->text), size_t(s->length)); }

class DateTime : public ClockTest {
protected:
    void SetUp() override {
        ClockTest::SetUp();
        zvs_reset_for_tests(1 << 16, 1024, 1024);
    }
};

TEST_F(DateTime, FixedWidthLocalDateAndTime) {
    struct {
        libzv_local_time local;
        const char* date;
        const char* time;
    } cases[] = {
        {{2026, 2, 3, 7, 8, 9, 999}, "02-03-2026", "07:08:09"},
        {{1999, 12, 31, 23, 59, 59, 0}, "12-31-1999", "23:59:59"},
        {{2000, 1, 1, 0, 0, 0, 0}, "01-01-2000", "00:00:00"},
        {{987, 7, 4, 12, 5, 0, 0}, "07-04-0987", "12:05:00"},
    };
    for (const auto& c : cases) {
        driven_clock::local = c.local;
        zvs* date = func_date();
        zvs* time = func_time();
        EXPECT_EQ(text(date), c.date);
        EXPECT_EQ(text(time), c.time);
        EXPECT_EQ(date->temporary, 1);
        EXPECT_EQ(time->temporary, 1);
        zvs_tmp_release_to(1, 0);
    }
    EXPECT_EQ(new_error.load(), 0);
}

TEST_F(DateTime, UnreadableClockIsError5AndEmpty) {
    driven_clock::local_fails = true;
    EXPECT_EQ(text(func_date()), "");
    EXPECT_EQ(new_error.load(), 5);
    error_reset_for_tests();
    EXPECT_EQ(text(func_time()), "");
    EXPECT_EQ(new_error.load(), 5);
    error_reset_for_tests();
    driven_clock::local_fails = false;
    driven_clock::local.year = 10000;
    EXPECT_EQ(text(func_date()), "") << "a year that does not fit four digits";
    EXPECT_EQ(new_error.load(), 5);
}

TEST_F(DateTime, PendingErrorGivesEmptyTextAndSettingChangesNothing) {
    error(53);
    EXPECT_EQ(text(func_date()), "");
    EXPECT_EQ(text(func_time()), "");
    EXPECT_EQ(new_error.load(), 53);
    error_reset_for_tests();
    sub_date(zvs_new_txt("01-01-1980"));
    sub_time(zvs_new_txt("00:00:00"));
    EXPECT_EQ(text(func_date()), "02-03-2026");
    EXPECT_EQ(text(func_time()), "12:00:00");
}

}  // namespace
