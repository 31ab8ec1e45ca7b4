// SCREEN 12, then _MOUSEMOVE 100, 50 once the window has been up a moment; from then
// on every change of _MOUSEX, _MOUSEY and the left button (drained through
// _MOUSEINPUT) is a line "x,y,button" in the file named by ZV_MOUSE_OUT. The window
// is titled "mouse". Relative motion is a line "move dx,dy".
#include <cstdio>
#include <cstdlib>

#include "zv.h"

namespace {
void ZVMAIN() {
    uint32_t mark = zvs_tmp_list_nexti();
    sub__title(zvs_new_txt("mouse"));
    zvs_tmp_release_to(mark, 0);
    zvg_screen(12, 0, 0, 0, 0, 1);
    FILE* out = fopen(getenv("ZV_MOUSE_OUT"), "w");
    for (int i = 0; i < 50; ++i) {
        if (stop_program.load()) end();
        libzv_sleep_ms(20);
        evnt(0, 0, nullptr);
    }
    sub__mousemove(100, 50);
    float x = -1, y = -1;
    int32_t b = -1;
    for (;;) {
        if (stop_program.load()) end();
        while (func__mouseinput()) {
            float dx = func__mousemovementx(), dy = func__mousemovementy();
            if (dx != 0 || dy != 0) fprintf(out, "move %g,%g\n", dx, dy);
            float nx = func__mousex(), ny = func__mousey();
            int32_t nb = func__mousebutton(1);
            if (nx != x || ny != y || nb != b) fprintf(out, "%g,%g,%d\n", nx, ny, -nb);
            x = nx;
            y = ny;
            b = nb;
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
