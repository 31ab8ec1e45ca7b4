// fix_error: the pending error at a statement boundary goes to the program's
// handler or to a box (Yes continues, No ends the program, critical numbers exit).
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/program.h"
#include "core/runtime_flags.h"
#include "error/error.h"
#include "error/error_internal.h"
#include "lifecycle/end.h"
#include "lifecycle/fix_error.h"
#include "platform/alert.h"
#include "platform/process_exit.h"

namespace {

std::string* program_name = nullptr;  // never freed: read until the process ends

bool is_critical(int32_t n) { return n >= 300 && n <= 315; }

// A formatted text in memory of its own; the process ends when there is none.
__attribute__((format(printf, 1, 2))) char* format_or_exit(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    int length = vsnprintf(nullptr, 0, format, args);
    va_end(args);
    char* text = length >= 0 ? static_cast<char*>(malloc(size_t(length) + 1)) : nullptr;
    if (text) vsnprintf(text, size_t(length) + 1, format, again);
    va_end(again);
    if (!text) libzv_process_exit(0);
    return text;
}

void enter_handler(int32_t c) {
    error_err.store(c);
    new_error.store(0);
    error_take_erl();
    error_occurred.store(1);
    // The main module's prologue finds error_occurred and runs the handler code.
    libzv_program().main_module();
}

}  // namespace

void error_set_program_name(const char* argv0) {
    std::string name = argv0 ? argv0 : "";
    size_t cut = name.find_last_of("/\\");
    if (cut != std::string::npos) name.erase(0, cut + 1);
    if (!program_name) program_name = new std::string();
    *program_name = name;
}

const char* error_program_name() { return program_name ? program_name->c_str() : ""; }

void fix_error() {
    int32_t c = new_error.load();
    if (!is_critical(c) && error_goto_line.load() && !error_handling.load()) {
        enter_handler(c);
        return;
    }

    uint32_t line, include_line;
    const char* include_file;
    error_position(&line, &include_line, &include_file);
    const char* where = include_line ? (include_file ? include_file : "") : "main module";
    char* message = format_or_exit("Line: %u (in %s)\n%s%s", include_line ? include_line : line, where,
                                   error_code_message(c), is_critical(c) ? "" : "\nContinue?");
    char* title = format_or_exit("%s%u - %s", is_critical(c) ? "Critical Error #" : "Unhandled Error #",
                                 uint32_t(c), error_program_name());

    if (is_critical(c)) {
        gui_alert(message, title, "ok");
        libzv_process_exit(0);
    }
    int32_t answer = gui_alert(message, title, "yesno");
    free(message);
    free(title);
    if (answer == 1) {
        clear_error();
        return;
    }
    close_program.store(1);
    end();
}
