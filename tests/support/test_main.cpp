// The main of every unit-test binary, with the exit guard: a test runs to its end.
//
// While the tests run, the process may not end from inside them. When the runtime ends
// it (libzv_process_exit: a fatal error's box, a critical error, END's exit) or code calls
// exit(), the running test is reported as failed and the binary leaves with
// zv_test_unexpected_exit_code, so ctest and a whole-binary run both see a failure.
//
// A test that means the process to end says so: EXPECT_EXIT / ASSERT_EXIT / EXPECT_DEATH
// run the statement in a child process and check its code there. Exits in any child
// process (a death test's, or one the test forks itself and waits for) pass through
// with their code untouched: the parent judges them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/process_exit.h"
#include "support/exit_guard.h"

namespace {
// The process that runs the tests; 0 when the guard is off (a death-test child that
// gtest started afresh, which must end with the statement's own code).
pid_t test_process = 0;
std::atomic<bool> tests_running{false};

bool guarded() { return test_process != 0 && tests_running.load() && getpid() == test_process; }

[[noreturn]] void fail_running_test(const char* how, int32_t code) {
    const ::testing::TestInfo* t = ::testing::UnitTest::GetInstance()->current_test_info();
    char name[512] = "(between tests)";
    if (t) snprintf(name, sizeof name, "%s.%s", t->test_suite_name(), t->name());
    fprintf(stderr,
            "\n[  FAILED  ] %s: %s(%d) ended the test process before the test did.\n"
            "             A test that expects the process to end says so with EXPECT_EXIT.\n",
            name, how, code);
    fflush(stderr);
    _exit(zv_test_unexpected_exit_code);
}

void on_process_exit(int32_t code) {
    if (guarded()) fail_running_test("libzv_process_exit", code);
    _exit(code);
}

void on_exit_call() {
    if (guarded()) fail_running_test("exit", -1);
}

// Each test starts guarded, even after one that set an exit hook of its own.
class exit_guard_listener : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { libzv_set_process_exit_hook(on_process_exit); }
};
}  // namespace

int main(int argc, char** argv) {
    bool death_test_child = false;
    for (int i = 1; i < argc; i++)
        if (strncmp(argv[i], "--gtest_internal_run_death_test", 31) == 0) death_test_child = true;
    ::testing::InitGoogleMock(&argc, argv);
    if (!death_test_child) test_process = getpid();
    libzv_set_process_exit_hook(on_process_exit);
    ::testing::UnitTest::GetInstance()->listeners().Append(new exit_guard_listener);
    atexit(on_exit_call);
    tests_running.store(true);
    int result = RUN_ALL_TESTS();
    tests_running.store(false);
    return result;
}
