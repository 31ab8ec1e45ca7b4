// Raising numbered errors, and ERR, ERL, _ERRORLINE and the include-file position.
#include "error/error.h"
#include "error/error_internal.h"

#include <cstdio>

#include "core/runtime_flags.h"
#include "log/log.h"
#include "platform/alert.h"
#include "platform/process_exit.h"
#include "string/zvs.h"

std::atomic<int32_t> new_error{0};
std::atomic<int32_t> error_occurred{0};
std::atomic<int32_t> error_retry{0};
std::atomic<int32_t> error_err{0};
std::atomic<int32_t> error_goto_line{0};
std::atomic<int32_t> error_handling{0};

namespace {
// Where the pending error happened (program thread).
uint32_t error_line_number = 0;
uint32_t include_line_number = 0;
const char* include_file_name = nullptr;
// No statement sets the last line, so ERL stays 0.
double last_line = 0;
double error_line_value = 0;
}  // namespace

void error_take_erl() { error_line_value = last_line; }

void error_position(uint32_t* line, uint32_t* include_line, const char** include_file) {
    *line = error_line_number;
    *include_line = include_line_number;
    *include_file = include_file_name;
}

void error(int32_t n) {
    libzv_log(LOGLEVEL_ERROR, LOGSCOPE_LIBZV, __FILE__, __func__, __LINE__, "ORVO Error %d reported: %s", n,
              error_code_message(n));

    const char* text;
    char title[32];
    if (error_fatal_box(n, &text, title, sizeof title)) {
        gui_alert(text, title, "ok");
        libzv_process_exit(0);
    }

    // First error wins; the flag is raised after the number is published.
    int32_t none = 0;
    if (new_error.compare_exchange_strong(none, n <= 0 ? 5 : n, std::memory_order_acq_rel)) zvevent_raise();
}

void clear_error() { new_error.store(0); }

void error_set_line(uint32_t line, uint32_t include_line, const char* include_file) {
    error_line_number = line;
    include_line_number = include_line;
    include_file_name = include_file;
}

int32_t get_error_err() {
    if (new_error_is_set()) return 0;
    return error_err.load();
}

double get_error_erl() {
    if (new_error_is_set()) return 0;
    return error_line_value;
}

int32_t func__errorline() {
    if (new_error_is_set()) return 0;
    return int32_t(error_line_number);
}

int32_t func__inclerrorline() {
    if (new_error_is_set()) return 0;
    return int32_t(include_line_number);
}

const char* error_include_file_name() {
    if (new_error_is_set() || !include_file_name) return "";
    return include_file_name;
}

const char* error_message_text(int32_t n, int32_t passed) {
    if (new_error_is_set()) return "";
    return error_code_message(passed ? n : error_err.load());
}

// Both texts are constant (the table, or the name translated code passed), so the
// temporaries wrap them without a copy; while an error is pending they are empty.
zvs* func__inclerrorfile() { return zvs_new_txt(error_include_file_name()); }

zvs* func__errormessage(int32_t n, int32_t passed) { return zvs_new_txt(error_message_text(n, passed)); }

zvs* error_handler_history = nullptr;

void error_handler_history_init() {
    if (!error_handler_history) error_handler_history = zvs_new(0, 0);
}

void error_reset_for_tests() {
    new_error.store(0);
    error_occurred.store(0);
    error_retry.store(0);
    error_err.store(0);
    error_goto_line.store(0);
    error_handling.store(0);
    error_set_line(0, 0, nullptr);
    error_line_value = 0;
}
