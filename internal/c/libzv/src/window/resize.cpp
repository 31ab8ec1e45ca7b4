// _RESIZE and the size functions.
#include "window/resize.h"

#include "error/error.h"
#include "display/presenter.h"
#include "display/presenter_environment.h"

void sub__resize(int32_t mode, int32_t stretch) {
    if (new_error_is_set()) return;
    if (mode == 1) resize_snapback.store(0);
    if (mode == 2) resize_snapback.store(1);
    resize_auto.store(stretch);
}

int32_t func__resize() {
    if (new_error_is_set()) return 0;
    if (resize_snapback.load()) return 0;
    return resize_event.exchange(0) ? -1 : 0;
}

int32_t func__resizewidth() { return new_error_is_set() ? 0 : resize_event_x.load(); }
int32_t func__resizeheight() { return new_error_is_set() ? 0 : resize_event_y.load(); }
int32_t func__scaledwidth() { return new_error_is_set() ? 0 : environment_2d__screen_scaled_width.load(); }
int32_t func__scaledheight() { return new_error_is_set() ? 0 : environment_2d__screen_scaled_height.load(); }
