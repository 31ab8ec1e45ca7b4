// Takes over the window's close requests with _EXIT, reports the first one and the
// next answer, then ends (END waits for a key, and a second close request ends it).
#include <cstdio>

#include "zv.h"

namespace {
void say(const char* format, int value) {
    printf(format, value);
    fflush(stdout);
}

void ZVMAIN() {
    ZV_MAIN_PROLOGUE();
    int32_t requests = 0;
    ZV_STATEMENT(1, requests = func__exit());
    say("blocked %d\n", requests);
    while (!requests) ZV_STATEMENT(2, libzv_sleep_ms(5); requests = func__exit());
    say("exit %d\n", requests);
    say("then %d\n", func__exit());
}
void sub_clear() {}
void dispatch_handler(int32_t, int64_t) {}
}  // namespace

ZV_PROGRAM(ZVMAIN, sub_clear, dispatch_handler, nullptr, 0);
