// _SCREENSHOW and _SCREENHIDE.
#include "window/screen_show.h"

#include "error/error.h"
#include "glut/glut_queue.h"
#include "glut/glut_setup.h"

void sub__screenshow() {
    if (new_error_is_set()) return;
    screen_hide.store(0);
    libzv_start_glut_thread();
    libzv_glut_show_window();
}

void sub__screenhide() {
    if (new_error_is_set()) return;
    if (screen_hide.load()) return;
    libzv_start_glut_thread();
    libzv_glut_hide_window();
    screen_hide.store(1);
}

int32_t func__screenhide() {
    if (new_error_is_set()) return 0;
    return screen_hide.load() ? -1 : 0;
}
