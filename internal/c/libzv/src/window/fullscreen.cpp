// _FULLSCREEN, _ALLOWFULLSCREEN and Alt+Enter.
#include "window/fullscreen.h"

#include "display/display.h"
#include "error/error.h"
#include "display/presenter.h"
#include "window/window_words.h"

namespace {

void request(int32_t mode) {
    if (mode != full_screen.load()) full_screen_set.store(mode);
    force_display_update.store(1);
}

}  // namespace

void sub__fullscreen(int32_t mode, int32_t flags) {
    if (new_error_is_set()) return;
    int32_t wanted;
    switch (mode) {
    case 0:
    case 2: wanted = 1; break;
    case 1:
    case 4: wanted = 0; break;
    case 3: wanted = 2; break;
    default: return;
    }
    fullscreen_smooth.store(flags & 1);
    request(wanted);
}

void sub__allowfullscreen(int32_t mode, int32_t smooth) {
    if (new_error_is_set()) return;
    fullscreen_allowedmode.store(mode == 3 || mode == 5 ? -1 : mode == 0 || mode == 4 ? 0 : mode);
    fullscreen_allowedsmooth.store(smooth == 2 || smooth == 4 ? -1 : smooth == 0 || smooth == 3 ? 0 : smooth);
}

int32_t func__fullscreen() {
    if (new_error_is_set()) return 0;
    int32_t pending = full_screen_set.load();
    return pending != -1 ? pending : full_screen.load();
}

int32_t func__fullscreensmooth() {
    if (new_error_is_set()) return 0;
    return -fullscreen_smooth.load();
}

void fullscreen_alt_enter() {
    // Steps: 0 windowed, 1 stretched, 2 stretched smooth, 3 square, 4 square smooth.
    static constexpr int32_t mode_of[5] = {0, 1, 1, 2, 2};
    static constexpr int32_t smooth_of[5] = {0, 0, 1, 0, 1};
    int32_t mode = full_screen_set.load();
    if (mode == -1) mode = full_screen.load();
    bool smooth = fullscreen_smooth.load() != 0;
    int32_t step = mode == 1 ? (smooth ? 2 : 1) : mode == 2 ? (smooth ? 4 : 3) : 0;
    int32_t allowed_mode = fullscreen_allowedmode.load();
    int32_t allowed_smooth = fullscreen_allowedsmooth.load();
    for (;;) {
        step = (step + 1) % 5;
        if (step == 0) break;
        bool refused = (allowed_mode > 0 && allowed_mode != mode_of[step]) ||
                       (allowed_smooth == 1 && !smooth_of[step]) || (allowed_smooth == -1 && smooth_of[step]);
        if (!refused) break;
    }
    fullscreen_smooth.store(smooth_of[step]);
    if (mode_of[step] != full_screen.load()) full_screen_set.store(mode_of[step]);
    force_display_update.store(1);
}
