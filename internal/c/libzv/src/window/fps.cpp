// _FPS.
#include "window/fps.h"

#include "error/error.h"
#include "display/presenter.h"
#include "window/window_words.h"

void sub__fps(double value, int32_t mode) {
    if (new_error_is_set()) return;
    if (mode == 1) {
        auto_fps.store(1);
        return;
    }
    // NaN is no frame rate either.
    if (mode != 2 || !(value >= 1)) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return;
    }
    max_fps.store(value > 200 ? 200 : value);
}
