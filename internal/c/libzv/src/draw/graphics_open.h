// The opening every graphics statement shares: nothing while an error is pending,
// error 5 on a text page, and STEP from the graphics cursor. Inline, so that a short
// PSET or LINE pays for no call.
#pragma once
#include "error/error.h"
#include "image/image_table.h"

// The write page to draw on; null when the statement must not run (a pending error,
// or a text page, which raises error 5).
inline img_struct* graphics_write_page() {
    if (new_error_is_set()) return nullptr;
    img_struct* im = write_page();
    if (im->text) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return nullptr;
    }
    return im;
}

// The same for statements that read (POINT, graphics GET).
inline img_struct* graphics_read_page() {
    if (new_error_is_set()) return nullptr;
    img_struct* im = read_page();
    if (im->text) {
        error(ERR_ILLEGAL_FUNCTION_CALL);
        return nullptr;
    }
    return im;
}

// STEP: the point is relative to the graphics cursor. The cursor is single precision;
// a double point adds it widened.
template <class T>
inline void step_from_cursor(bool step, const img_graphics_state& g, T& x, T& y) {
    if (!step) return;
    x += g.x;
    y += g.y;
}
