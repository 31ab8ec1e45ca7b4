// SLEEP until a key, then END, which waits for one more key. Reports on standard
// output; the window is titled "sleeper".
#include <cstdio>

#include "zv.h"

namespace {
void say(const char* text) {
    printf("%s\n", text);
    fflush(stdout);
}

void ZVMAIN() {
    ZV_MAIN_PROLOGUE();
    ZV_STATEMENT(1, sub__title(zvs_new_txt("sleeper")); ZV_RELEASE_TEMPORARIES());
    say("sleeping");
    ZV_STATEMENT(2, sub_sleep(0, 0));
    say("woke");
    sub_end();
}
void sub_clear() {}
void dispatch_handler(int32_t, int64_t) {}
}  // namespace

ZV_PROGRAM(ZVMAIN, sub_clear, dispatch_handler, nullptr, 0);
