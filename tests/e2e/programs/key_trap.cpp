// ON KEY(1) on F1: the handler writes "F1 trapped", every INKEY$ key its codes, one
// line each, to the file named by ZV_KEYS_OUT; the window is titled "keytrap".
#include <cstdio>
#include <cstdlib>

#include "zv.h"

namespace {
FILE* out = nullptr;

void ZVMAIN() {
    ZV_MAIN_PROLOGUE();
    out = fopen(getenv("ZV_KEYS_OUT"), "w");
    ZV_STATEMENT(1, sub__title(zvs_new_txt("keytrap")); ZV_RELEASE_TEMPORARIES());
    ZV_STATEMENT(2, onkey_setup(1, 1, 0));
    ZV_STATEMENT(3, sub_key(1, TRAP_ACTION_ON));
    for (;;) {
        ZV_STATEMENT(4, {
            zvs* k = zvs_inkey();
            if (k->length == 1) fprintf(out, "%d\n", k->text[0]);
            if (k->length == 2) fprintf(out, "%d,%d\n", k->text[0], k->text[1]);
            fflush(out);
            ZV_RELEASE_TEMPORARIES();
            libzv_sleep_ms(5);
        });
    }
}
void sub_clear() {}
void dispatch_handler(int32_t id, int64_t) {
    if (id == 1) fprintf(out, "F1 trapped\n");
    fflush(out);
}
}  // namespace

ZV_PROGRAM(ZVMAIN, sub_clear, dispatch_handler, nullptr, 0);
