// _SCREENCLICK.
#include "input/screen_click.h"

#include "error/error.h"
#include "platform/x11_desktop.h"

namespace {
const screen_click_ops desktop_ops{[](int32_t x, int32_t y) { x11_fake_motion(x, y); },
                                   [](int32_t button, bool press) { x11_fake_button(button, press); }};
const screen_click_ops* ops = &desktop_ops;
}  // namespace

void screen_click_set_ops(const screen_click_ops* replacement) { ops = replacement ? replacement : &desktop_ops; }

void sub__screenclick(int32_t x, int32_t y, int32_t button, int32_t passed) {
    if (new_error_is_set()) return;
    int32_t x_button = 1;
    if (passed & 1) {
        if (button == 2) x_button = 3;
        if (button == 3) x_button = 2;
    }
    // One event per step, as a person's click arrives: move, press, release.
    ops->move(x, y);
    ops->button(x_button, true);
    ops->button(x_button, false);
}
