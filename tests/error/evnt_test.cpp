// The statement boundary: its switch, the pause, the shutdown park and the retry.
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "error/error_test_support.h"
#include "shape.h"

namespace {

class Evnt : public ErrorTest {};

TEST_F(Evnt, DisabledBoundaryReturnsAndLeavesTheFlagUp) {
    error(53);
    disableEvents = 1;
    evnt(4, 0, nullptr);
    EXPECT_EQ(zvevent.load(), 1);
    EXPECT_EQ(new_error.load(), 53);
    EXPECT_TRUE(alert_recorder::boxes.empty());
}

TEST_F(Evnt, PendingErrorIsHandledWithTheStatementsLine) {
    error(53);
    evnt(4, 0, nullptr);
    EXPECT_EQ(zvevent.load(), 0);
    EXPECT_EQ(new_error.load(), 0);
    EXPECT_EQ(r, 0);
    ASSERT_EQ(alert_recorder::boxes.size(), 1u);
    EXPECT_EQ(alert_recorder::boxes[0], "yesno|Unhandled Error #53 - prog|Line: 4 (in main module)\nFile not found\nContinue?");
}

TEST_F(Evnt, WaitsReportLine0) {
    error(53);
    zv_wait_boundary_check();
    ASSERT_EQ(alert_recorder::boxes.size(), 1u);
    EXPECT_NE(alert_recorder::boxes[0].find("|Line: 0 (in main module)\n"), std::string::npos);
}

void retrying_handler() { error_retry = 1; }
void main_module_with_handler() { ZV_MAIN_PROLOGUE(); }

TEST_F(Evnt, RetryRequestOfTheHandlerBecomesR) {
    program.main_module = main_module_with_handler;
    program.error_handler = retrying_handler;
    error_goto_line = 1;
    error(53);
    evnt(12, 0, nullptr);
    EXPECT_EQ(r, 1);
    EXPECT_EQ(error_retry.load(), 0);
    EXPECT_EQ(func__errorline(), 12);
    EXPECT_EQ(get_error_err(), 53);
}

TEST_F(Evnt, PauseBlocksUntilCleared) {
    suspend_program = 1;
    zvevent = 1;
    std::atomic<bool> returned{false};
    std::thread program_thread([&] {
        evnt(1, 0, nullptr);
        returned = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    EXPECT_FALSE(returned.load());
    suspend_program = 0;
    program_thread.join();
    EXPECT_TRUE(returned.load());
}

using EvntDeathTest = Evnt;

TEST_F(EvntDeathTest, StopParksTheProgramThread) {
    EXPECT_EXIT(
        {
            child_setup();
            close_program = 1;  // as the shutdown found it
            stop_program = 1;
            zvevent = 1;
            evnt(1, 0, nullptr);
            _exit(3);
        },
        ::testing::ExitedWithCode(42), "");
}

TEST_F(EvntDeathTest, StopEndsAPause) {
    EXPECT_EXIT(
        {
            child_setup();
            close_program = 1;
            suspend_program = 1;
            std::thread([] {
                std::this_thread::sleep_for(std::chrono::milliseconds(30));
                stop_program = 1;
            }).detach();
            evnt(1, 0, nullptr);
            _exit(3);
        },
        ::testing::ExitedWithCode(42), "");
}

}  // namespace
