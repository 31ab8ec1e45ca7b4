// Errors at statement boundaries, one scenario per run (ZV_SCENARIO); what runs is
// reported on standard output.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "zv.h"

namespace {

void say(const char* text) {
    fputs(text, stdout);
    fputc('\n', stdout);
    fflush(stdout);
}

bool scenario(const char* name) {
    const char* s = getenv("ZV_SCENARIO");
    return s && strcmp(s, name) == 0;
}

int32_t answer_no(const char* message, const char* title, const char*) {
    fprintf(stderr, "%s: %s\nanswered No\n", title, message);
    return 0;
}

volatile int32_t seven = 7, zero = 0;
int* volatile nowhere = nullptr;

bool raises_5() {
    error(5);
    return false;
}

// The middle statement fails in the way the scenario asks for.
void failing_statement() {
    if (scenario("divide")) {
        volatile int32_t quotient = seven / zero;
        (void)quotient;
    } else if (scenario("segv")) {
        *nowhere = 1;
    } else if (scenario("critical")) {
        error(300);
    } else {
        error(53);
    }
    if (!new_error_is_set()) say("statement 2 went on");
}

void ZVMAIN() {
    ZV_MAIN_PROLOGUE();
    // The tests read the boxes on standard error.
    gui_alert_set_backend(scenario("no") ? answer_no : gui_alert_to_stderr);
    if (scenario("onerror")) error_goto_line = 1;  // a handler target, but no handler code
    if (scenario("segv")) libzv_install_segv_handler();

    if (scenario("if")) {
        if (ZV_CONDITION(raises_5())) {
            ZV_STATEMENT(11, say("then"));
        } else {
            ZV_STATEMENT(13, say("else"));
        }
        return;
    }

    ZV_STATEMENT(1, say("statement 1"));
    ZV_STATEMENT(2, failing_statement());
    ZV_STATEMENT(3, say("statement 3"));
}

void sub_clear() {}
void dispatch_handler(int32_t, int64_t) {}

}  // namespace

ZV_PROGRAM(ZVMAIN, sub_clear, dispatch_handler, nullptr, 0);
