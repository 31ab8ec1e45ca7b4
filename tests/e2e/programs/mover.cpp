// _SCREENMOVE _MIDDLE, then _SCREENX and _SCREENY once the window thread has seen the
// move, on standard output; then _SCREENMOVE to (10, 20). The window is "mover".
#include <cstdio>

#include "zv.h"

namespace {
void ZVMAIN() {
    ZV_MAIN_PROLOGUE();
    ZV_STATEMENT(1, sub__title(zvs_new_txt("mover")); ZV_RELEASE_TEMPORARIES());
    libzv_sleep_ms(300);
    ZV_STATEMENT(2, sub__screenmove(0, 0, 1));
    libzv_sleep_ms(300);
    printf("%d %d\n", func__screenx(), func__screeny());
    fflush(stdout);
    ZV_STATEMENT(3, sub__screenmove(10, 20, 2));
    for (;;) ZV_STATEMENT(4, libzv_sleep_ms(10));
}
void sub_clear() {}
void dispatch_handler(int32_t, int64_t) {}
}  // namespace

ZV_PROGRAM(ZVMAIN, sub_clear, dispatch_handler, nullptr, 0);
