// Tests of the exit guard itself, run by exit_guard_check.cmake: the Unexpected cases
// must fail their binary, the Expected cases must pass.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <thread>

#include "error/error.h"
#include "platform/alert.h"
#include "platform/process_exit.h"

namespace {

class Unexpected : public ::testing::Test {
protected:
    void SetUp() override { gui_alert_set_backend(gui_alert_to_stderr); }
};

// A fatal error shows its box and ends the process with code 0: the test must not pass.
TEST_F(Unexpected, FatalError) {
    error(11);
    ADD_FAILURE() << "not reached";
}

TEST_F(Unexpected, ExitCall) {
    exit(0);
}

TEST_F(Unexpected, ExitFromAnotherThread) {
    std::thread([] { libzv_process_exit(0); }).join();
    ADD_FAILURE() << "not reached";
}

class Expected : public Unexpected {};

TEST_F(Expected, DeathTestsSeeTheCode) {
    EXPECT_EXIT(error(11), ::testing::ExitedWithCode(0), "Division by zero");
    EXPECT_EXIT(libzv_process_exit(7), ::testing::ExitedWithCode(7), "");
    EXPECT_EXIT(exit(8), ::testing::ExitedWithCode(8), "");
}

TEST_F(Expected, ChildrenTheTestForksKeepTheirCode) {
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) libzv_process_exit(9);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 9);
}

}  // namespace
