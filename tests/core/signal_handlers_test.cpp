// The handlers of SIGFPE (error 11, fatal) and SIGSEGV (logged, exit code 1).
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "core/signal_handlers.h"
#include "log/log.h"
#include "platform/alert.h"

namespace {

int32_t print_box(const char* message, const char* title, const char* kind) {
    fprintf(stderr, "BOX %s|%s|%s\n", kind, title, message);
    return 1;
}

TEST(SignalHandlersDeathTest, DivisionByZeroShowsTheFatalBoxAndExits0) {
    EXPECT_EXIT(
        {
            gui_alert_set_backend(print_box);
            libzv_install_division_by_zero_handler();
            raise(SIGFPE);
            _exit(3);
        },
        ::testing::ExitedWithCode(0), "^BOX ok\\|Critical Error\\|Division by zero\n$");
}

TEST(SignalHandlersDeathTest, SegmentationFaultIsLoggedAndExits1) {
    EXPECT_EXIT(
        {
            setenv("ORVONX_LOG_HANDLERS", "console", 1);
            unsetenv("ORVONX_LOG_SCOPES");
            unsetenv("ORVONX_LOG_LEVEL");
            libzv_log_reset_for_tests();
            libzv_log_init();
            libzv_install_segv_handler();
            raise(SIGSEGV);
            _exit(3);
        },
        ::testing::ExitedWithCode(1),
        "ERROR libzv internal/c/libzv/src/core/signal_handlers.cpp: segv_handler: [0-9]+: "
        "Recieved SIGSEGV! Review below stacktrace:\n");
}

TEST(SignalHandlersDeathTest, SegmentationFaultHandlerRunsOnItsOwnStack) {
    EXPECT_EXIT(
        {
            libzv_install_segv_handler();
            stack_t current{};
            sigaltstack(nullptr, &current);
            if (current.ss_flags & SS_DISABLE) _exit(3);
            struct sigaction action {};
            sigaction(SIGSEGV, nullptr, &action);
            if (!(action.sa_flags & SA_ONSTACK)) _exit(4);
            raise(SIGSEGV);
            _exit(5);
        },
        ::testing::ExitedWithCode(1), "");
}

}  // namespace
