// SHELL, SHELL _HIDE, SHELL _DONTWAIT, SHELL(), _SHELLHIDE().
#include "shell/shell.h"

#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "clock/clock.h"
#include "core/program.h"
#include "core/runtime_flags.h"
#include "display/presenter.h"
#include "error/error.h"
#include "platform/console_terminal.h"
#include "platform/process_start.h"
#include "shell/shell_flags.h"
#include "string/zvs.h"
#include "text/console_controls.h"

namespace {

const char* interpreter = "/bin/sh";

enum class window_mode { shown, hidden };
enum class wait_mode { wait, no_wait };

// A spawn that failed: the result of a command that cannot be started.
constexpr int32_t start_failed = 1;

std::string text_of(const zvs* command) {
    if (!command || command->length <= 0) return {};
    return std::string(reinterpret_cast<const char*>(command->text), size_t(command->length));
}

process_streams streams_for(window_mode window) {
    process_streams streams;
    if (window == window_mode::hidden)
        for (int& fd : streams.fd) fd = process_stream_null;
    else
        console_flush();  // the console's text before the command's
    return streams;
}

// Runs a spawned child to its end with the housekeeping loop told to idle.
int32_t wait_for(pid_t pid) {
    shell_call_in_progress.store(1);
    int32_t code = process_wait(pid);
    shell_call_in_progress.store(0);
    return code;
}

// argv for the interpreter: the command through "-c", or an interactive one.
int32_t run(const std::vector<std::string>& argv, window_mode window, wait_mode wait) {
    for (const auto& a : argv)
        if (a.find('\0') != std::string::npos) return start_failed;  // would run a cut command
    if (wait == wait_mode::no_wait) {
        pid_t pid = process_spawn(interpreter, argv, streams_for(window));
        if (pid < 0) return start_failed;
        process_reap_detached(pid);
        return 0;
    }
    // A shown command that the program waits for has the terminal to itself: line
    // mode and echo as the program found them, not the key reading mode that
    // _CONSOLEINPUT leaves in force, which comes back when the command ends.
    bool shown = window == window_mode::shown;
    console_mode program_mode = shown ? console_lend_terminal() : console_mode::saved;
    pid_t pid = process_spawn(interpreter, argv, streams_for(window));
    int32_t code = pid < 0 ? -1 : wait_for(pid);
    if (shown) console_take_back_terminal(program_mode);
    return code < 0 ? start_failed : code;
}

int32_t run_command(const std::string& command, window_mode window, wait_mode wait) {
    return run({"sh", "-c", command}, window, wait);
}

// The launch route: a command beginning with a space names no program and starts
// nothing. Returns false then.
bool launch(const std::string& command, window_mode window, wait_mode wait, int32_t* code) {
    if (command[0] == ' ') return false;
    *code = run_command(command, window, wait);
    return true;
}

// An interactive interpreter on the program's own streams, only when a person can
// type to it: otherwise it would read the program's input as commands.
int32_t interactive() {
    if (!isatty(STDIN_FILENO)) return -1;
    return run({"sh"}, window_mode::shown, wait_mode::wait);
}

// Full screen is left for a shown, waiting SHELL and taken back afterwards; both
// hand-overs also end when the program is stopping.
int32_t leave_full_screen() {
    int32_t saved = full_screen.load();
    if (!saved) return 0;
    full_screen_set.store(0);
    while (full_screen.load() != 0 && !stop_program.load()) libzv_sleep_ms(1);
    return saved;
}

void return_to_full_screen(int32_t saved) {
    if (!saved) return;
    full_screen_set.store(saved);
    while (full_screen.load() == 0 && !stop_program.load()) libzv_sleep_ms(1);
}

// SHELL and SHELL(): shown and waiting, with the console route of console programs.
int64_t shown_and_waiting(const zvs* command, bool given) {
    int32_t saved = leave_full_screen();
    std::string text = given ? text_of(command) : std::string();
    int64_t result;
    int32_t code = 0;
    if (!text.empty() && libzv_program().console && console_active.load())
        result = run_command(text, window_mode::shown, wait_mode::wait);
    else if (text.empty())
        result = interactive();
    else
        result = launch(text, window_mode::shown, wait_mode::wait, &code) ? code : 0;
    return_to_full_screen(saved);
    return result;
}

}  // namespace

void shell_set_interpreter_for_tests(const char* path) { interpreter = path ? path : "/bin/sh"; }

void sub_shell(zvs* command, int32_t given) {
    if (new_error_is_set()) return;
    shown_and_waiting(command, given != 0);
}

int64_t func_shell(zvs* command) {
    if (new_error_is_set()) return 0;
    return shown_and_waiting(command, true);
}

int64_t func__shellhide(zvs* command) {
    if (new_error_is_set()) return 0;
    std::string text = text_of(command);
    if (text.empty()) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return 1;
    }
    int32_t code = 0;
    return launch(text, window_mode::hidden, wait_mode::wait, &code) ? code : 1;
}

void sub_shell2(zvs* command, int32_t passed) {
    if (new_error_is_set()) return;
    if (passed & 1) return sub_shell4(command, passed & 2);
    std::string text = passed & 2 ? text_of(command) : std::string();
    if (text.empty()) return error(ERR_ILLEGAL_FUNCTION_CALL);
    int32_t code;
    launch(text, window_mode::hidden, wait_mode::wait, &code);
}

void sub_shell3(zvs* command, int32_t passed) {
    if (new_error_is_set()) return;
    if (passed & 1) return sub_shell4(command, passed & 2);
    std::string text = passed & 2 ? text_of(command) : std::string();
    // An interactive interpreter that nobody waits for would fight the program for
    // the terminal, and no window can be opened for it: nothing starts.
    if (text.empty()) return;
    int32_t code;
    launch(text, window_mode::shown, wait_mode::no_wait, &code);
}

void sub_shell4(zvs* command, int32_t passed) {
    std::string text = passed & 2 ? text_of(command) : std::string();
    if (text.empty()) return error(ERR_ILLEGAL_FUNCTION_CALL);
    int32_t code;
    launch(text, window_mode::hidden, wait_mode::no_wait, &code);
}
