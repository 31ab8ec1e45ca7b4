// The console program that CHAIN or RUN starts: it reads a line (LINE INPUT) or, with
// ZV_HANDOVER_READ "keys", keys with _CONSOLEINPUT. Once it waits it prints
// "reading <pid>"; then "got:[line]" or "key:<scancode>", and it ends without END's
// prompt (SYSTEM).
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "zv.h"

namespace {

void say(const std::string& text) { print_text(text.c_str(), 1); }

void ZVMAIN() {
    ZV_MAIN_PROLOGUE();
    sub__dest(console_image());
    sub__source(console_image());
    const char* read = getenv("ZV_HANDOVER_READ");
    std::string marker = "reading " + std::to_string(getpid());
    if (read && strcmp(read, "keys") == 0) {
        int32_t got = 0;
        // The first call enters key mode: the marker comes after it.
        ZV_STATEMENT(1, got = func__getconsoleinput());
        ZV_STATEMENT(2, say(marker));
        while (got != 1 && !stop_program.load()) {
            ZV_STATEMENT(3, got = func__getconsoleinput());
            if (got != 1) libzv_sleep_ms(5);
        }
        ZV_STATEMENT(4, say("key:" + std::to_string(func__cinp(0, 0))));
    } else {
        zvs* line = zvs_new(0, 0);
        ZV_STATEMENT(5, say(marker));
        ZV_STATEMENT(6, {
            zvs_input_target(1, type_word_string | type_word_line_input, line);
            zvs_input(1, 1);
        });
        ZV_STATEMENT(7, say("got:[" + std::string(reinterpret_cast<const char*>(line->text), size_t(line->length)) + "]"));
    }
    close_program.store(1);
    end();
}

void sub_clear() {}
void dispatch_handler(int32_t, int64_t) {}

}  // namespace

ZV_PROGRAM(ZVMAIN, sub_clear, dispatch_handler, nullptr, 0);
