// Echoes every INKEY$ key as its codes, and by _KEYDOWN Shift going down and up and
// the Caps Lock and Scroll Lock states going on and off, one line each, to the file
// named by ZV_KEYS_OUT; the window is titled "keys".
// Each pass ends at a statement boundary, where the Pause key parks it.
#include <cstdio>
#include <cstdlib>

#include "zv.h"

namespace {
void ZVMAIN() {
    uint32_t mark = zvs_tmp_list_nexti();
    sub__title(zvs_new_txt("keys"));
    zvs_tmp_release_to(mark, 0);
    FILE* out = fopen(getenv("ZV_KEYS_OUT"), "w");
    struct watched {
        int32_t code;
        const char *on, *off;
        bool state;
    } keys[] = {{key::left_shift, "shift down", "shift up", false},
                {key::caps_lock, "caps on", "caps off", false},
                {key::scroll_lock_state, "scroll on", "scroll off", false}};
    for (;;) {
        if (stop_program.load()) end();
        zvs* k = zvs_inkey();
        if (k->length == 1) fprintf(out, "%d\n", k->text[0]);
        if (k->length == 2) fprintf(out, "%d,%d\n", k->text[0], k->text[1]);
        zvs_tmp_release_to(mark, 0);
        for (watched& w : keys) {
            bool held = func__keydown(w.code) != 0;
            if (held != w.state) fprintf(out, "%s\n", held ? w.on : w.off);
            w.state = held;
        }
        fflush(out);
        libzv_sleep_ms(5);
        evnt(0, 0, nullptr);
    }
}
void sub_clear() {}
void dispatch_handler(int32_t, int64_t) {}
}  // namespace

ZV_PROGRAM(ZVMAIN, sub_clear, dispatch_handler, nullptr, 0);
