// _FONT: checks the font against the image, then sets it on the image or on every
// page of a text screen.
#include "screen/font_statement.h"

#include "display/display.h"
#include "error/error.h"
#include "font/font_tables.h"
#include "image/image_handle.h"
#include "image/image_modes.h"
#include "image/image_table.h"
#include "screen/lock_display.h"

namespace {

bool double_width(int32_t f) { return f == 9 || f == 15 || f == 17; }

bool font_exists(int32_t f) {
    if (f == 8 || f == 9 || f == 14 || f == 15 || f == 16 || f == 17) return true;
    return f >= first_loaded_font && f <= lastfont && f < font_table_capacity &&
           font[f].load(std::memory_order_relaxed) != 0;
}

}  // namespace

int32_t font_refusal(const img_struct* im, int32_t f) {
    if (double_width(f) && !im->text) return 5;
    if (!font_exists(f)) return 258;
    if (im->text && !(fontflags[f].load(std::memory_order_relaxed) & FONT_MONOSPACE)) return 5;
    return 0;
}

void sub__font(int32_t f, int32_t handle, int32_t passed) {
    if (new_error_is_set()) return;
    int32_t index = image_index_or_write(handle, passed & 1);
    if (!index) return;
    img_struct* im = img_get(index);
    if (int32_t refused = font_refusal(im, f)) return error(refused);
    if (im->text && (im->flags & IMG_SCREEN)) {
        // Every page shows the same font; cursors and VIEW PRINT rows stay.
        display_pause pause = lock_display_pause();
        if (pause == display_pause::stopping) return;
        screen_last_valid.store(0, std::memory_order_relaxed);
        for (auto [n, page] : page_entries()) img_get(page)->font = f;
        lock_display_resume(pause);
        return;
    }
    selectfont(f, im);
}
