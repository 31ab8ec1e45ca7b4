// Signal handlers of translated programs.
#include "core/signal_handlers.h"

#include <signal.h>

#include "error/error.h"
#include "log/log.h"
#include "platform/process_exit.h"

namespace {
// The faulting thread may hold the log lock: wait for it this long, then write anyway.
constexpr int32_t segv_log_lock_wait_ms = 1000;
constexpr size_t alternate_stack_size = 64 * 1024;
thread_local char* alternate_stack = nullptr;  // kept for the life of the thread
}  // namespace

void division_by_zero_handler(int) { error(ERR_DIVISION_BY_ZERO); }

void segv_handler(int) {
    libzv_log_from_signal(LOGLEVEL_ERROR, LOGSCOPE_LIBZV, __FILE__, __func__, __LINE__, segv_log_lock_wait_ms,
                          "Recieved SIGSEGV! Review below stacktrace:");
    libzv_process_exit(1);
}

void libzv_install_division_by_zero_handler() {
    struct sigaction action {};
    action.sa_handler = division_by_zero_handler;
    sigemptyset(&action.sa_mask);
    sigaction(SIGFPE, &action, nullptr);
}

void libzv_install_segv_handler() {
    stack_t current{};
    if (sigaltstack(nullptr, &current) == 0 && (current.ss_flags & SS_DISABLE)) {
        alternate_stack = new char[alternate_stack_size];
        stack_t stack{};
        stack.ss_sp = alternate_stack;
        stack.ss_size = alternate_stack_size;
        sigaltstack(&stack, nullptr);
    }
    struct sigaction action {};
    action.sa_handler = segv_handler;
    action.sa_flags = SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    sigaction(SIGSEGV, &action, nullptr);
}
