// Program end, RUN, CLEAR, _ASSERT, _ECHO and trap handlers of a hidden console
// program built with asserts, one scenario per run (ZV_SCENARIO); what happens is
// reported on standard output.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "zv.h"

namespace {

void say(const std::string& text) {
    printf("%s\n", text.c_str());
    fflush(stdout);
}

bool scenario(const char* name) {
    const char* s = getenv("ZV_SCENARIO");
    return s && strcmp(s, name) == 0;
}

zvs* text(const std::string& s) { return zvs_new_txt_len(s.data(), int32_t(s.size())); }

// The program's variables, as translated code declares them.
const uint8_t program_data[] = "11,22,33,";
int32_t data_offset;
int32_t counter;                    // a scalar
int32_t fixed_storage[4];           // DIM A(1 TO 4) AS LONG, in the static arena
array_descriptor<1> fixed_array;
array_descriptor<1> dynamic_array;  // REDIM B(9) AS DOUBLE
int32_t ticks, keys;

// CLEAR's generated body.
void sub_clear() {
    clear_array(&fixed_array, 4);
    clear_array(&dynamic_array, 8);
    counter = 0;
    clear_reset_runtime(&data_offset);
}

// The handlers of ON TIMER (id 1) and ON KEY (id 2).
void dispatch_handler(int32_t id, int64_t pass) {
    if (id == 1) ++ticks;
    if (id == 2) {
        ++keys;
        say("key handler " + std::to_string(pass));
    }
}

int64_t read_item() { return func_read_int64(program_data, &data_offset, int32_t(sizeof program_data - 1)); }

void clear_scenario(int64_t zv_mark) {
    fixed_array = {fixed_storage, ARRAY_ALLOCATED | ARRAY_STATIC, {{1, 4, 1}}, nullptr};
    for (auto& v : fixed_storage) v = 5;
    dynamic_array = {calloc(10, 8), ARRAY_ALLOCATED, {{0, 10, 1}}, nullptr};
    counter = 7;
    int64_t first = 0, second = 0;
    ZV_STATEMENT(1, first = read_item());
    ZV_STATEMENT(2, second = read_item());
    error_goto_line = 1;
    next_return_point = 2;  // inside two GOSUBs
    ZV_STATEMENT(3, sub_clear());
    ZV_RELEASE_TEMPORARIES();
    say("read " + std::to_string(first) + " " + std::to_string(second) + " then " + std::to_string(read_item()));
    say("static " + std::to_string(fixed_storage[0] + fixed_storage[3]) + " lbound " +
        std::to_string(func_lbound(&fixed_array, 1, 1)) + " counter " + std::to_string(counter) + " on error " +
        std::to_string(error_goto_line.load()) + " gosub " + std::to_string(next_return_point));
    int32_t lbound = -1;
    ZV_STATEMENT(4, lbound = func_lbound(&dynamic_array, 1, 1));  // error 9
    say("dynamic lbound " + std::to_string(lbound));
}

void traps_scenario() {
    ontimer_setup(0, 0.05, 1, 0);
    sub_timer(0, TRAP_ACTION_ON, 0);
    onkey_setup(5, 2, 77);
    sub_key(5, TRAP_ACTION_ON);
    onkey_trigger(5);  // as the keyboard does for F5
    for (int i = 0; i < 5000 && ticks < 3; ++i) ZV_STATEMENT(10, libzv_sleep_ms(1));
    say("timer ran " + std::string(ticks >= 3 ? "3 times" : "too rarely") + ", key handler ran " + std::to_string(keys));
}

void ZVMAIN() {
    ZV_MAIN_PROLOGUE();
    gui_alert_set_backend(gui_alert_to_stderr);  // the tests read error boxes on standard error
    if (scenario("clear")) clear_scenario(zv_mark);
    if (scenario("traps")) traps_scenario();
    if (scenario("run_missing")) {
        ZV_STATEMENT(20, sub_run(text(getenv("ZV_RUN_TARGET"))));
        say("went on");
    }
    if (scenario("run")) {
        ZV_STATEMENT(21, sub_run(text(std::string(getenv("ZV_RUN_TARGET")) + " " + getenv("ZV_RUN_MARKER") +
                                      " a/b \"c d\"")));
        say("not reached");
    }
    if (scenario("echo")) ZV_STATEMENT(22, sub__echo(text("echoed")));
    if (scenario("assert")) ZV_STATEMENT(23, sub__assert(0, nullptr, 0));
    if (scenario("assert_message")) ZV_STATEMENT(24, sub__assert(0, text("x > 0"), 1));
    if (scenario("assert_true")) ZV_STATEMENT(25, sub__assert(-1, text("x > 0"), 1));
    say("end of program");
}

}  // namespace

ZV_PROGRAM(ZVMAIN, sub_clear, dispatch_handler, program_data, sizeof program_data - 1);
