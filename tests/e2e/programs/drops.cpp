// Accepts dropped files unless ZV_REFUSE is set, and writes every name read with
// _DROPPEDFILE$ as one line, then "end of drop", to the file named by ZV_DROPS_OUT.
// The window is titled "drops".
#include <cstdio>
#include <cstdlib>

#include "zv.h"

namespace {
void ZVMAIN() {
    ZV_MAIN_PROLOGUE();
    FILE* out = fopen(getenv("ZV_DROPS_OUT"), "w");
    ZV_STATEMENT(1, sub__title(zvs_new_txt("drops")); ZV_RELEASE_TEMPORARIES());
    if (!getenv("ZV_REFUSE")) ZV_STATEMENT(2, sub__filedrop(1));
    for (;;) {
        ZV_STATEMENT(3, {
            if (func__totaldroppedfiles()) {
                for (zvs* name = func__droppedfile(0, 0); name->length; name = func__droppedfile(0, 0))
                    fprintf(out, "%.*s\n", name->length, reinterpret_cast<char*>(name->text));
                fprintf(out, "end of drop\n");
                fflush(out);
            }
            ZV_RELEASE_TEMPORARIES();
            libzv_sleep_ms(5);
        });
    }
}
void sub_clear() {}
void dispatch_handler(int32_t, int64_t) {}
}  // namespace

ZV_PROGRAM(ZVMAIN, sub_clear, dispatch_handler, nullptr, 0);
