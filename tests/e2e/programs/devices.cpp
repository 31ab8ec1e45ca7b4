// SCREEN 12; every event taken with _DEVICEINPUT is a line in the file named by
// ZV_DEVICES_OUT: "key b c" for each keyboard button b whose _BUTTONCHANGE is c,
// "button b c" likewise for the mouse, and "mouse x y" for any other mouse event with
// its axes rounded to hundredths.
// The window is titled "devices"; the first line, "ready", comes once the window has
// the screen's size and earlier events are dropped.
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "zv.h"

namespace {
void ZVMAIN() {
    uint32_t mark = zvs_tmp_list_nexti();
    sub__title(zvs_new_txt("devices"));
    zvs_tmp_release_to(mark, 0);
    zvg_screen(12, 0, 0, 0, 0, 1);
    // A moment for the window to take the screen's size before the test acts.
    for (int i = 0; i < 50; ++i) {
        if (stop_program.load()) end();
        libzv_sleep_ms(20);
        evnt(0, 0, nullptr);
    }
    while (func__deviceinput(0, 0)) {
    }
    FILE* out = fopen(getenv("ZV_DEVICES_OUT"), "w");
    fprintf(out, "ready\n");
    fflush(out);
    for (;;) {
        if (stop_program.load()) end();
        for (int32_t d = func__deviceinput(0, 0); d; d = func__deviceinput(0, 0)) {
            int32_t buttons = func__lastbutton(d, 1);
            bool changed = false;
            for (int32_t b = 1; b <= buttons; b++)
                if (int32_t c = func__buttonchange(b, 1)) {
                    fprintf(out, "%s %d %d\n", d == 1 ? "key" : "button", b, c);
                    changed = true;
                }
            if (d == 2 && !changed) {
                float x = func__axis(1, 1), y = func__axis(2, 1);
                fprintf(out, "mouse %.2f %.2f\n", std::round(x * 100) / 100, std::round(y * 100) / 100);
            }
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
